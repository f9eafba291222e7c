#include "widgets/spin_edit.h"
#include "numbers/number_syntax.h"
#include "widgets/whole_text.h"

#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int kArrowWidth = 14;
}

SpinEdit::SpinEdit(QWidget *parent)
    : QLineEdit(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    for (QToolButton *button : {m_up, m_down}) {
        button->setArrowType(button == m_up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
    }
    m_up->setAccessibleName(QStringLiteral("增大"));
    m_down->setAccessibleName(QStringLiteral("减小"));
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    setTextMargins(0, 0, kArrowWidth, 0);
    setText(QStringLiteral("0"));
    ShowWholeText(this);
}

void SpinEdit::setRange(int32_t minimum, int32_t maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

int64_t SpinEdit::clamp(int64_t value) const {
    if (bounded()) {
        return std::clamp<int64_t>(value, m_minimum, m_maximum);
    }
    return std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

int32_t SpinEdit::value() const {
    // Not held to the limits: a number typed and used before the field is left counts as
    // typed.
    return numbers::ParseWholeNumber(text()).value_or(m_minimum);
}

void SpinEdit::setValue(int32_t value) {
    setText(QString::number(clamp(value)));
}

void SpinEdit::stepBy(int steps) {
    if (isReadOnly()) {
        return;
    }
    if (m_stepFallback && !numbers::ParseWholeNumber(text())) {
        setValue(*m_stepFallback);
    } else {
        setValue(static_cast<int32_t>(clamp(int64_t{value()} + int64_t{steps} * m_increment)));
    }
    selectAll();
}

void SpinEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SpinEdit::resizeEvent(QResizeEvent *event) {
    QLineEdit::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(width() - kArrowWidth - 1, 1, kArrowWidth, half - 1);
    m_down->setGeometry(width() - kArrowWidth - 1, half, kArrowWidth, height() - half - 1);
}

void SpinEdit::focusOutEvent(QFocusEvent *event) {
    // A number outside the limits is pulled back into them when the field is left; text that
    // is no number stays as typed.
    if (bounded()) {
        const std::optional<int32_t> parsed = numbers::ParseWholeNumber(text());
        if (parsed && clamp(*parsed) != *parsed) {
            setValue(*parsed);
        }
    }
    QLineEdit::focusOutEvent(event);
}
