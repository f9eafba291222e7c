#pragma once
// The buttons of a window that assistive technology would find without a name, joined.

#include <QAbstractButton>
#include <QAccessible>
#include <QStringList>
#include <QWidget>

inline QString UnnamedButtons(QWidget *window) {
    QStringList unnamed;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(window)) {
            continue;  // a list's corner button while its row header is hidden
        }
        const QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
        if (face == nullptr || face->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed.append(QStringLiteral("%1 at %2,%3")
                               .arg(QString::fromLatin1(button->metaObject()->className()))
                               .arg(button->x())
                               .arg(button->y()));
        }
    }
    return unnamed.join(QStringLiteral(", "));
}
