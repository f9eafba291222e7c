#pragma once
// A whole-number field with step arrows whose text is the working value: the text is parsed
// when the value is needed, and text that is not a whole number counts as the lower limit.

#include <QLineEdit>

#include <optional>

#include <cstdint>

class QToolButton;

class SpinEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget *parent = nullptr);

    // Equal limits mean no limits: the text takes any whole number.
    void setRange(int32_t minimum, int32_t maximum);
    void setIncrement(int32_t increment) { m_increment = increment; }
    // What a step gives when the text is no number (by default the step from the minimum).
    void setStepFallback(int32_t value) { m_stepFallback = value; }
    int32_t minimum() const { return m_minimum; }
    int32_t maximum() const { return m_maximum; }

    // The text as a whole number, or the lower limit when it is none.
    int32_t value() const;
    void setValue(int32_t value);
    void stepBy(int steps);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool bounded() const { return m_minimum != m_maximum; }
    int64_t clamp(int64_t value) const;

    QToolButton *m_up;
    QToolButton *m_down;
    int32_t m_minimum = 0;
    int32_t m_maximum = 0;
    int32_t m_increment = 1;
    std::optional<int32_t> m_stepFallback;
};
