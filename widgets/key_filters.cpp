#include "widgets/key_filters.h"

#include <QKeyEvent>
#include <QLineEdit>

bool KeyFilterAccepts(KeyFilterKind kind, QChar typed, const QString &fieldText) {
    if (typed >= u'0' && typed <= u'9') {
        return true;
    }
    switch (kind) {
        case KeyFilterKind::Decimal:
            // The whole text counts, so a second "." is refused even over a selected one.
            return typed == u'.' && !fieldText.contains(u'.');
        case KeyFilterKind::Digit:
            return false;
        case KeyFilterKind::SignedDigit:
            return typed == u'-';
    }
    return false;
}

KeyFilter::KeyFilter(KeyFilterKind kind, QLineEdit *field) : QObject(field), m_kind(kind) {
    field->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    // Ctrl and Ctrl+Shift give shortcuts (paste, copy, select all), never typed characters.
    // Any other modifier can still type one (Alt+a, Super+minus, AltGr), so it is filtered.
    const Qt::KeyboardModifiers held =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (held == Qt::ControlModifier || held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.front().isPrint()) {
        return false;  // backspace, tab, return, delete, arrows
    }
    const auto *field = static_cast<QLineEdit *>(watched);
    QString current = field->text();
    for (const QChar c : text) {
        if (!KeyFilterAccepts(m_kind, c, current)) {
            return true;  // discard
        }
        current += c;
    }
    return false;
}

void InstallDecimalKeyFilter(QLineEdit *field) {
    new KeyFilter(KeyFilterKind::Decimal, field);
}

void InstallDigitKeyFilter(QLineEdit *field) {
    new KeyFilter(KeyFilterKind::Digit, field);
}

void InstallSignedDigitKeyFilter(QLineEdit *field) {
    new KeyFilter(KeyFilterKind::SignedDigit, field);
}
