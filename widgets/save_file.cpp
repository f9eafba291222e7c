#include "widgets/save_file.h"

#include <QFileDialog>

namespace files {

namespace {
SaveAnswer &Answer() {
    static SaveAnswer answer;
    return answer;
}
}  // namespace

QString AskSaveFileName(QWidget *owner, const QString &caption, const QString &suggested,
                        const QString &filter) {
    if (Answer()) {
        return Answer()(suggested);
    }
    return QFileDialog::getSaveFileName(owner, caption, suggested, filter);
}

void SetSaveAnswer(SaveAnswer answer) {
    Answer() = std::move(answer);
}

}  // namespace files
