#include "widgets/whole_text.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace {

constexpr int kSmallestPixelSize = 8;
constexpr int kLineEditMargin = 2;  // QLineEdit's own space on each side of its text

class WholeText final : public QObject {
public:
    explicit WholeText(QLineEdit *edit) : QObject(edit), m_edit(edit) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &WholeText::fit);
        fit();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::FontChange:
            case QEvent::StyleChange:
            case QEvent::Show:
                fit();
                break;
            default:
                break;
        }
        return false;
    }

private:
    int available() const {
        const int frame = m_edit->hasFrame() ? m_edit->style()->pixelMetric(
                                                   QStyle::PM_DefaultFrameWidth, nullptr, m_edit)
                                             : 0;
        const QMargins margins = m_edit->textMargins();
        // The last pixel is the cursor's, which stays in sight after the text.
        return m_edit->width() - 2 * frame - margins.left() - margins.right() -
               2 * kLineEditMargin - 1;
    }

    void fit() {
        if (m_fitting) {
            return;
        }
        m_fitting = true;
        const QWidget *parent = m_edit->parentWidget();
        QFont font = parent != nullptr ? parent->font() : m_edit->font();
        const int natural = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
        const int room = available();
        int size = natural;
        while (size > kSmallestPixelSize &&
               QFontMetrics(font).horizontalAdvance(m_edit->text()) > room) {
            font.setPixelSize(--size);
        }
        if (size == natural) {
            if (m_shrunk) {
                m_edit->setFont(QFont());  // the window's font again
                m_shrunk = false;
            }
        } else {
            QFont smaller;  // only the size is the field's own; the rest follows the window
            smaller.setPixelSize(size);
            m_edit->setFont(smaller);
            m_shrunk = true;
        }
        m_fitting = false;
    }

    QLineEdit *m_edit;
    bool m_fitting = false;
    bool m_shrunk = false;
};

}  // namespace

void ShowWholeText(QLineEdit *edit) {
    new WholeText(edit);
}
