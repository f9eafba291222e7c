#include "monitor/monitor_window.h"

#include "widgets/fonts.h"
#include "widgets/list_editor.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

namespace {

constexpr int kWidth = 348;
constexpr int kHeight = 272;

// A selected row is drawn on a pale blue and keeps the text colour of its mark, so an
// alarming row stays red or green, and readable, while the user points at it.
const QColor kSelection(229, 243, 255);

class MarkColourDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            option->palette.setColor(group, QPalette::Highlight, kSelection);
            option->palette.setColor(group, QPalette::HighlightedText,
                                     option->palette.color(group, QPalette::Text));
        }
    }
};

// The title panel's buttons, white on the caption colour: a cross that hides the window and
// a window frame that switches to the overlay.
QIcon TitleButtonPicture(bool close) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 2));
    if (close) {
        painter.drawLine(QPointF(3, 3), QPointF(13, 13));
        painter.drawLine(QPointF(13, 3), QPointF(3, 13));
    } else {
        painter.drawRect(QRectF(2, 3, 12, 10));
        painter.fillRect(QRectF(2, 3, 12, 3), Qt::white);
    }
    return QIcon(pixmap);
}

}  // namespace

TForm10::TForm10(monitor::WatchSession *session) : m_session(session) {
    setWindowTitle(QStringLiteral("查看监控股票价格"));
    setFont(SongTi());
    SetBackground(this, Qt::white);
    setFixedSize(kWidth, kHeight);
    // The rows' tooltips show while the user works in another window, too.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    Panel1 = new TitlePanel(QStringLiteral("查看监控股票价格 "), this);
    SpeedButton2 = Panel1->addButton(TitleButtonPicture(true), QStringLiteral("关闭窗口"));
    SpeedButton3 = Panel1->addButton(TitleButtonPicture(false), QStringLiteral("正常窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    ListView1 = new QTableView(this);
    ListView1->setGeometry(1, 31, kWidth - 2, kHeight - 32 - 18);
    Rows = new MonitorTableModel(session, this);
    ListView1->setModel(Rows);
    // The code column is wider than designed: the substitute font's digits and the alarm
    // picture do not fit into 70 pixels. The last column takes what is left beside a
    // vertical scroll bar, so a long list needs no horizontal one covering its last row.
    FitColumnsBesideScrollBar(ListView1, {84, 70, 60, 60});
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(20);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setItemDelegate(new MarkColourDelegate(ListView1));
    connect(ListView1, &QTableView::doubleClicked, this, &TForm10::ListView1DblClick);
    RowMenu = new QMenu(this);
    ChartItem = RowMenu->addAction(QStringLiteral("分时图"));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QTableView::customContextMenuRequested, this, [this](const QPoint &at) {
        const QModelIndex index = ListView1->indexAt(at);
        if (index.isValid() && m_session && index.row() < m_session->rows().size()) {
            ListView1->selectRow(index.row());
            ChartItem->setData(index.row());
            RowMenu->popup(ListView1->viewport()->mapToGlobal(at));
        }
    });
    connect(ChartItem, &QAction::triggered, this, [this] {
        const int row = ChartItem->data().toInt();
        if (m_session && row >= 0 && row < m_session->rows().size()) {
            emit chartWanted(m_session->rows()[row].code, m_session->rows()[row].name);
        }
    });

    Label1 = new QLabel(this);
    Label1->setGeometry(4, kHeight - 19, kWidth - 8, 18);
    Label1->setFont(SongTi(12));

    connect(session, &monitor::WatchSession::statusChanged, this, &TForm10::showStatus);
    // An alarm brings the hidden window back; the window is not pushed to the front.
    connect(session, &monitor::WatchSession::alarmRaised, this, [this] {
        if (isHidden()) {
            show();
        }
    });
    showStatus();

    connect(SpeedButton2, &QPushButton::clicked, this, &TForm10::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm10::SpeedButton3Click);

    // Bottom right, 32 pixels above the bottom of the primary screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->geometry().size();
        move(size.width() - kWidth, size.height() - kHeight - 32);
    }
}

void TForm10::showStatus() {
    const quotes::ReadingStatus &status = m_session->status();
    Label1->setStyleSheet(status.problem ? QStringLiteral("color: red;")
                                         : QStringLiteral("color: gray;"));
    // A long account is cut to the line; the tooltip holds all of it.
    Label1->setText(Label1->fontMetrics().elidedText(status.text, Qt::ElideRight, Label1->width()));
    Label1->setToolTip(status.details);
}

void TForm10::ListView1DblClick() {
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (!selected.isEmpty() && m_session) {
        m_session->toggleAlarm(selected.first().row());
    }
}

void TForm10::SpeedButton2Click() {
    hide();
}

void TForm10::SpeedButton3Click() {
    hide();
    emit overlayWanted();
}

void TForm10::closeEvent(QCloseEvent *event) {
    // The reference is emptied now, not when the window is freed later: a new monitor may
    // be opened before that.
    if (instance == this) {
        instance.clear();
    }
    // Closing the monitor ends monitoring.
    if (m_session) {
        m_session->stop();
    }
    ToolWindowOf<TForm10>::closeEvent(event);
}
