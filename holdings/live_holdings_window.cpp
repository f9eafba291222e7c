#include "holdings/live_holdings_window.h"

#include "numbers/fee_schedule.h"
#include "quotes/quote_feed.h"
#include "storage/holdings_store.h"
#include "widgets/list_editor.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace {

const QColor kBackground(176, 211, 225);

// The figures on the list's black: a gain red, a loss green, nothing to tell white.
QColor SignColour(int sign) {
    return sign > 0 ? QColor(255, 0, 0) : (sign < 0 ? QColor(0, 255, 0) : QColor(255, 255, 255));
}

class LiveFiguresModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<holdings::LiveRow> &rows) {
        bool sameCodes = rows.size() == m_rows.size();
        for (qsizetype i = 0; sameCodes && i < rows.size(); ++i) {
            sameCodes = rows[i].code == m_rows[i].code;
        }
        if (!sameCodes) {
            beginResetModel();
            m_rows = rows;
            endResetModel();
        } else if (!rows.isEmpty()) {
            m_rows = rows;
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    }

    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : LiveHoldingsWindow::kColumnCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char16_t *const kHeaders[] = {u"代码", u"名称", u"数量",     u"成本均价",
                                                   u"现价", u"市值", u"浮动盈亏", u"盈亏比例"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= LiveHoldingsWindow::kColumnCount) {
            return {};
        }
        return QString::fromUtf16(kHeaders[section]);
    }

    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid() || index.row() >= m_rows.size()) {
            return {};
        }
        const holdings::LiveRow &row = m_rows[index.row()];
        const int column = index.column();
        switch (role) {
            case Qt::DisplayRole: {
                const QString *texts[] = {&row.code,        &row.name,       &row.quantityText,
                                          &row.averageText, &row.priceText,  &row.valueText,
                                          &row.profitText,  &row.percentText};
                return column < LiveHoldingsWindow::kColumnCount ? *texts[column] : QString();
            }
            case Qt::ForegroundRole:
                return column == LiveHoldingsWindow::kProfit ||
                               column == LiveHoldingsWindow::kPercent
                           ? SignColour(row.sign)
                           : QColor(255, 255, 255);
            case Qt::TextAlignmentRole:
                return int((column <= LiveHoldingsWindow::kName ? Qt::AlignLeft : Qt::AlignRight) |
                           Qt::AlignVCenter);
        }
        return {};
    }

private:
    QList<holdings::LiveRow> m_rows;
};

}  // namespace

LiveHoldingsWindow *LiveHoldingsWindow::Open(quotes::QuoteFeed *feed,
                                             const settings::FeeSettings &fees) {
    if (instance) {
        FocusWindow(instance);
        return instance;
    }
    instance = new LiveHoldingsWindow(feed, fees);
    instance->show();
    FocusWindow(instance);
    return instance;
}

LiveHoldingsWindow::LiveHoldingsWindow(quotes::QuoteFeed *feed, const settings::FeeSettings &fees)
    : m_feed(feed), m_fees(fees) {
    setWindowTitle(QStringLiteral("持仓盈亏"));
    SetBackground(this, kBackground);
    setFixedSize(660, 340);

    Panel1 = new TitlePanel(QStringLiteral("持仓盈亏"), this);
    SpeedButton2 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                     QStringLiteral("关闭窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    auto *model = new LiveFiguresModel(this);
    Figures = model;
    ListView1 = new QTableView(this);
    ListView1->setModel(model);
    ListView1->setGeometry(6, 38, 648, 232);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setMinimumSectionSize(22);
    ListView1->verticalHeader()->setDefaultSectionSize(22);
    // The last column takes what is left beside a vertical scroll bar, so a long list needs
    // no sideways one hiding the percentages.
    FitColumnsBesideScrollBar(ListView1, {62, 84, 72, 76, 76, 92, 86});
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setWordWrap(false);
    QPalette listPalette = ListView1->palette();
    listPalette.setColor(QPalette::Base, Qt::black);
    listPalette.setColor(QPalette::Text, Qt::white);
    ListView1->setPalette(listPalette);
    ListView1->setStyleSheet(QStringLiteral("QTableView { gridline-color: #808080; }"));

    connect(ListView1, &QTableView::doubleClicked, this, &LiveHoldingsWindow::chartOf);
    ListView1->installEventFilter(this);

    Label2 = new QLabel(this);
    Label2->setGeometry(8, 276, 644, 24);
    Label1 = new QLabel(this);
    Label1->setGeometry(8, 306, 644, 24);
    Label1->setStyleSheet(QStringLiteral("color: gray;"));

    connect(SpeedButton2, &QPushButton::clicked, this, &QWidget::close);
    if (m_feed) {
        connect(m_feed, &quotes::QuoteFeed::readingDone, this, &LiveHoldingsWindow::received);
    }
    LoadLots();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void LiveHoldingsWindow::LoadLots() {
    const std::optional<storage::LotsRead> lots = storage::ReadEveryLot(storage::Database());
    if (!lots) {
        return;  // a file that cannot be read leaves the list as it was
    }
    m_holdings.SetLots(*lots);
    showFigures();
    subscribe();
}

void LiveHoldingsWindow::FeesChanged() {
    showFigures();
}

void LiveHoldingsWindow::FollowLots(QAbstractItemModel *lots) {
    if (lots == nullptr) {
        return;
    }
    connect(lots, &QAbstractItemModel::modelReset, this, &LiveHoldingsWindow::LoadLots,
            Qt::UniqueConnection);
    connect(lots, &QAbstractItemModel::rowsInserted, this, &LiveHoldingsWindow::LoadLots,
            Qt::UniqueConnection);
    connect(lots, &QAbstractItemModel::rowsRemoved, this, &LiveHoldingsWindow::LoadLots,
            Qt::UniqueConnection);
    connect(lots, &QAbstractItemModel::dataChanged, this, &LiveHoldingsWindow::lotsChanged,
            Qt::UniqueConnection);
}

void LiveHoldingsWindow::lotsChanged(const QModelIndex &, const QModelIndex &,
                                     const QList<int> &roles) {
    // A check mark is no change of a lot.
    if (roles != QList<int>{Qt::CheckStateRole}) {
        LoadLots();
    }
}

void LiveHoldingsWindow::chartOf(const QModelIndex &index) {
    if (index.isValid()) {
        emit chartWanted(Figures->index(index.row(), kCode).data().toString(),
                         Figures->index(index.row(), kName).data().toString());
    }
}

bool LiveHoldingsWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chartOf(ListView1->currentIndex());
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

void LiveHoldingsWindow::showEvent(QShowEvent *event) {
    ToolWindow::showEvent(event);
    subscribe();
}

void LiveHoldingsWindow::hideEvent(QHideEvent *event) {
    ToolWindow::hideEvent(event);
    if (m_feed) {
        m_feed->Unsubscribe(this);
    }
}

void LiveHoldingsWindow::subscribe() {
    if (m_feed && isVisible()) {
        m_feed->Subscribe(this, m_holdings.codes());
    }
}

void LiveHoldingsWindow::received(const quotes::FeedReading &reading) {
    if (!isVisible()) {
        return;
    }
    m_kept = m_holdings.Apply(reading);
    m_reading = reading.state;
    // Market times are Beijing time, whatever the desktop's zone.
    m_readingAt = m_feed->now().toTimeZone(quotes::BeijingTime()).time();
    showFigures();
}

void LiveHoldingsWindow::showFigures() {
    const numbers::FeeScheduleReading fees =
        numbers::ReadFeeSchedule(m_fees.FeeTexts(), m_fees.TransferFeeBasis());
    const QList<holdings::LiveRow> rows = m_holdings.Rows(fees.schedule);
    static_cast<LiveFiguresModel *>(Figures)->setRows(rows);

    const holdings::LiveTotals totals = holdings::TotalsOf(rows);
    Label2->setText(totals.text);
    Label2->setStyleSheet(totals.sign > 0   ? QStringLiteral("color: rgb(255, 0, 0);")
                          : totals.sign < 0 ? QStringLiteral("color: rgb(0, 128, 0);")
                                            : QStringLiteral("color: black;"));

    const quotes::ReadingStatus status =
        holdings::LiveStatus(m_reading, m_kept, rows, m_readingAt, m_holdings.unreadable(),
                             fees.schedule ? QString() : fees.error);
    Label1->setStyleSheet(status.problem ? QStringLiteral("color: red;")
                                         : QStringLiteral("color: gray;"));
    // A long account is cut to the line; the tooltip holds all of it.
    Label1->setText(Label1->fontMetrics().elidedText(status.text, Qt::ElideRight, Label1->width()));
    Label1->setToolTip(status.details);
}
