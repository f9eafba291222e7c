#include "monitor/monitor_window.h"

#include "widgets/fitted_columns.h"
#include "widgets/fonts.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kWidth = 348;
constexpr int kHeight = 272;

// A selected row is drawn on a pale blue and keeps the text colour of its mark, so an
// alarming row stays red or green, and readable, while the user points at it.
const QColor kSelection(229, 243, 255);

class MarkColourDelegate final : public WholeFiguresDelegate {
public:
    using WholeFiguresDelegate::WholeFiguresDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        WholeFiguresDelegate::initStyleOption(option, index);
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
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(20);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    // Codes and prices are shown whole (the substitute font's digits and the alarm picture
    // need more than the designed widths); the name gives way, and a long list needs no
    // sideways scroll bar covering its last row.
    KeepColumnsFitted(ListView1, MonitorTableModel::Name,
                      new MarkColourDelegate(MonitorTableModel::Name, ListView1));
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

    Label1 = new StatusLine(this);
    Label1->setGeometry(4, kHeight - 19, kWidth - 8, 18);
    Label1->setFont(SongTi(12));

    connect(session, &monitor::WatchSession::statusChanged, this, &TForm10::showStatus);
    // An alarm brings the hidden window back, not pushed to the front, with the first
    // alarming row in sight; the selection stays, so a double click there still silences.
    connect(session, &monitor::WatchSession::alarmRaised, this, [this] {
        if (isHidden()) {
            show();
            const QList<monitor::MonitorRow> &rows = m_session->rows();
            const auto first =
                std::find_if(rows.cbegin(), rows.cend(),
                             [](const monitor::MonitorRow &row) { return row.alarming; });
            if (first != rows.cend()) {
                ListView1->scrollTo(Rows->index(int(first - rows.cbegin()), 0));
            }
        }
    });
    showStatus();

    connect(SpeedButton2, &QPushButton::clicked, this, &TForm10::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm10::SpeedButton3Click);

    // Bottom right of the work area, 32 pixels above its bottom.
    const QRect area = WorkArea();
    move(area.x() + area.width() - kWidth, area.y() + area.height() - kHeight - 32);
}

void TForm10::showStatus() {
    const quotes::ReadingStatus &status = m_session->status();
    Label1->setStatus(status.text, status.details, status.problem);
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
