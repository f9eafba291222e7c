#pragma once
// TForm12: the prices in large type straight on the desktop. Only the text strokes are seen
// and take the mouse; everything else lets clicks through to the windows below. Repainted
// whenever a reading of the watch session brings prices.

#include "monitor/watch_session.h"
#include "settings/settings_in_force.h"
#include "widgets/tool_window.h"

#include <QImage>
#include <QLabel>
#include <QPointer>

class TForm12 final : public ToolWindowOf<TForm12> {
    Q_OBJECT
public:
    // Without a session it shows what paint gives it.
    // The font size and colour are those of `inForce`.
    explicit TForm12(const settings::InForce &inForce,
                     const monitor::WatchSession *session = nullptr);

    QLabel *Image1;

    struct Line {
        QString code;
        QString price;
    };

    // One line "(code)-> price 元" per stock, in the font size (held to 20 to 150) and
    // colour in force, the window as wide as the screen and as high as its lines; lines that
    // would fall below the bottom of the screen are left out.
    void paint(const QList<Line> &lines);
    // Paints the session's rows.
    void PaintOverlay();

    // The painted picture: black wherever nothing is drawn.
    const QImage &picture() const { return m_picture; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const settings::InForce &m_inForce;
    QPointer<const monitor::WatchSession> m_session;
    QImage m_picture;
};
