#pragma once
// The desktop's save dialog asking where a file goes, behind a seam tests can answer.

#include <QString>
#include <QWidget>

#include <functional>

namespace files {

// The file name chosen, starting from `suggested`; empty when the trader cancels.
QString AskSaveFileName(QWidget *owner, const QString &caption, const QString &suggested,
                        const QString &filter);

using SaveAnswer = std::function<QString(const QString &suggested)>;
// Replaces the dialog (tests); an empty answer restores it.
void SetSaveAnswer(SaveAnswer answer);

}  // namespace files
