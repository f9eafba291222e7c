#pragma once
// THELPDLG: the manual. A read-only text with one button per section that scrolls the text to
// the section's heading.

#include <QDialog>
#include <QLabel>
#include <QList>
#include <QPlainTextEdit>
#include <QPushButton>

// The manual text, compiled into the program: one line of text is one screen line.
inline const QString kManualFile = QStringLiteral(":/resources/manual.txt");

class THELPDLG final : public QDialog {
    Q_OBJECT
public:
    explicit THELPDLG(QWidget *parent = nullptr, const QString &textFile = kManualFile);

    QWidget *Panel1;            // the black title strip, the dialog's drag handle
    QLabel *Label1;             // its title
    QWidget *Panel2;            // the column of section buttons
    QPushButton *SpeedButton1;  // 作者感言
    QPushButton *SpeedButton5;  // 股票交易费率设置
    QPushButton *SpeedButton6;  // 系统设置
    QPushButton *SpeedButton2;  // 差价计算器
    QPushButton *SpeedButton3;  // 均价计算器
    QPushButton *SpeedButton4;  // 股票管理器
    QPushButton *SpeedButton7;  // 股票价格监控器
    QLabel *Image2;             // the studio picture
    QLabel *Label2;             // 岚石软件工作室
    QPlainTextEdit *RichEdit1;

    // The section buttons from top to bottom.
    QList<QPushButton *> sectionButtons() const;

    // Makes the line the top line of the text, or shows the end of the text when fewer lines
    // follow than the pane shows. Lines outside the text are held to it.
    void scrollToLine(int line);
    int firstVisibleLine() const;

    // Colours every flat button black and the one under the mouse red; nothing undoes it when
    // the mouse leaves.
    void hoverButton(QPushButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The text is read and laid out when the manual is first wanted, not at start-up.
    void ensureText();

    QPoint m_dragOrigin;
    QString m_textFile;
    bool m_textLoaded = false;
};
