#include "holdings/live_holdings_window.h"

#include "numbers/fee_schedule.h"
#include "quotes/price_ages.h"
#include "quotes/quote_feed.h"
#include "storage/holdings_store.h"
#include "storage/watch_list_store.h"
#include "widgets/fitted_columns.h"
#include "widgets/window_memory.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>

#include <algorithm>

namespace {

const QColor kBackground(176, 211, 225);
const QString kGeometryKey = QStringLiteral("LiveHoldings");
constexpr int kRowHeight = 22;
constexpr QSize kLeastSize(660, 340);  // as the window first was, and its smallest
constexpr int kListTop = 38;
constexpr int kBelowList = 70;  // the totals and the status line

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

    // Takes in what a reading brought: the names the services give, and which prices it did
    // not renew.
    void noteReading(const quotes::FeedReading &reading) {
        m_ages.Note(reading);
        for (auto it = reading.quotes.cbegin(); it != reading.quotes.cend(); ++it) {
            const QString name =
                it.value() ? storage::CleanName(it.value()->name).trimmed() : QString();
            if (!name.isEmpty()) {
                m_names.insert(it.key(), name);
            }
        }
    }
    // Names of the watched stocks, for codes no reading has named yet.
    void noteWatchedNames(const QList<storage::WatchEntry> &watched) {
        for (const storage::WatchEntry &entry : watched) {
            const QString name = storage::CleanName(entry.name).trimmed();
            if (!name.isEmpty() && !m_names.contains(entry.code)) {
                m_names.insert(entry.code, name);
            }
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
        // A price the last reading for its code did not renew.
        const std::optional<QTime> stale =
            column == LiveHoldingsWindow::kPrice && !row.priceText.isEmpty()
                ? m_ages.StaleSince(row.code)
                : std::nullopt;
        switch (role) {
            case Qt::DisplayRole: {
                const QString name = row.name.isEmpty() ? m_names.value(row.code) : row.name;
                const QString price = row.priceText.isEmpty() ? QStringLiteral("—") : row.priceText;
                const QString *texts[] = {&row.code,        &name,           &row.quantityText,
                                          &row.averageText, &price,          &row.valueText,
                                          &row.profitText,  &row.percentText};
                return column < LiveHoldingsWindow::kColumnCount ? *texts[column] : QString();
            }
            case Qt::ForegroundRole:
                if (stale) {
                    return QColor(150, 150, 150);
                }
                return column == LiveHoldingsWindow::kProfit ||
                               column == LiveHoldingsWindow::kPercent
                           ? SignColour(row.sign)
                           : QColor(255, 255, 255);
            case Qt::ToolTipRole:
            case Qt::AccessibleDescriptionRole:
                return stale ? quotes::StalePriceTip(*stale) : QVariant();
            case Qt::TextAlignmentRole:
                return int((column <= LiveHoldingsWindow::kName ? Qt::AlignLeft : Qt::AlignRight) |
                           Qt::AlignVCenter);
        }
        return {};
    }

private:
    QList<holdings::LiveRow> m_rows;
    quotes::PriceAges m_ages;
    QHash<QString, QString> m_names;  // the last name known for each code
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
    setMinimumSize(kLeastSize);
    resize(kLeastSize);

    Panel1 = new TitlePanel(QStringLiteral("持仓盈亏"), this);
    SpeedButton2 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                     QStringLiteral("关闭窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    auto *model = new LiveFiguresModel(this);
    Figures = model;
    ListView1 = new QTableView(this);
    ListView1->setModel(model);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    ListView1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    // Every figure whole; the name gives way, and a long list needs no sideways scroll bar
    // hiding the percentages.
    KeepColumnsFitted(ListView1, kName);
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

    Label2 = new QLabel(this);
    Label1 = new QLabel(this);
    Label1->setStyleSheet(QStringLiteral("color: gray;"));
    m_grip = new QSizeGrip(this);
    layOut();

    connect(SpeedButton2, &QPushButton::clicked, this, &QWidget::close);
    if (m_feed) {
        connect(m_feed, &quotes::QuoteFeed::readingDone, this, &LiveHoldingsWindow::received);
    }
    LoadLots();
    placeAtOpening();
}

void LiveHoldingsWindow::placeAtOpening() {
    if (RestoreGeometry(this, kGeometryKey)) {
        return;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // Tall enough for every position, up to half the work area.
    const QRect area = screen->availableGeometry();
    const int list = ListView1->horizontalHeader()->sizeHint().height() +
                     Figures->rowCount() * kRowHeight + 2 * ListView1->frameWidth();
    resize(width(), std::clamp(kListTop + list + kBelowList, kLeastSize.height(),
                               std::max(kLeastSize.height(), area.height() / 2)));
    move(area.center() - rect().center());
}

void LiveHoldingsWindow::layOut() {
    Panel1->setGeometry(1, 1, width() - 2, 30);
    ListView1->setGeometry(6, kListTop, width() - 12, height() - kListTop - kBelowList);
    Label2->setGeometry(8, height() - 64, width() - 16, 24);
    Label1->setGeometry(8, height() - 34, width() - 16 - m_grip->sizeHint().width(), 24);
    m_grip->setGeometry(QRect(QPoint(), m_grip->sizeHint())
                            .translated(width() - m_grip->sizeHint().width() - 1,
                                        height() - m_grip->sizeHint().height() - 1));
}

void LiveHoldingsWindow::resizeEvent(QResizeEvent *event) {
    ToolWindow::resizeEvent(event);
    layOut();
    showFigures();  // the status line is cut to its new width
}

void LiveHoldingsWindow::LoadLots() {
    const std::optional<storage::LotsRead> lots = storage::ReadEveryLot(storage::Database());
    if (!lots) {
        return;  // a file that cannot be read leaves the list as it was
    }
    static_cast<LiveFiguresModel *>(Figures)->noteWatchedNames(
        storage::LoadWatchList(storage::Database()));
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

void LiveHoldingsWindow::showEvent(QShowEvent *event) {
    ToolWindow::showEvent(event);
    subscribe();
}

void LiveHoldingsWindow::hideEvent(QHideEvent *event) {
    ToolWindow::hideEvent(event);
    RememberGeometry(this, kGeometryKey);
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
    static_cast<LiveFiguresModel *>(Figures)->noteReading(reading);
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
