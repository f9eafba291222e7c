#include "holdings/live_holdings_window.h"

#include "holdings/journal_list.h"
#include "quotes/price_ages.h"
#include "quotes/trading_calendar.h"
#include "storage/csv_file.h"
#include "storage/watch_list_store.h"
#include "widgets/fitted_columns.h"
#include "widgets/message_box.h"
#include "widgets/save_file.h"
#include "widgets/speed_button.h"
#include "widgets/window_memory.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>

#include <algorithm>

namespace {

const QColor kBackground(176, 211, 225);
const QString kGeometryKey = QStringLiteral("LiveHoldings");
constexpr int kRowHeight = 22;
constexpr QSize kLeastSize(776, 340);  // as the window first was, and its smallest
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
        m_ages.note(reading);
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
        static const char16_t *const kHeaders[] = {u"代码",     u"名称",    u"类别", u"数量",
                                                   u"成本均价", u"保本价",  u"现价", u"市值",
                                                   u"浮动盈亏", u"盈亏比例"};
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
                ? m_ages.staleSince(row.code)
                : std::nullopt;
        switch (role) {
            case Qt::DisplayRole: {
                const QString name = row.name.isEmpty() ? m_names.value(row.code) : row.name;
                const QString price = row.priceText.isEmpty() ? QStringLiteral("—") : row.priceText;
                const QString *texts[] = {&row.code,        &name,
                                          &row.classText,   &row.quantityText,
                                          &row.averageText, &row.breakEvenText,
                                          &price,           &row.valueText,
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
                return int((column <= LiveHoldingsWindow::kClass ? Qt::AlignLeft : Qt::AlignRight) |
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

LiveHoldingsWindow::LiveHoldingsWindow(holdings::LiveSession *session) : m_session(session) {
    setWindowTitle(QStringLiteral("持仓盈亏"));
    SetBackground(this, kBackground);
    setMinimumSize(kLeastSize);
    resize(kLeastSize);

    m_title = new TitlePanel(QStringLiteral("持仓盈亏"), this);
    m_closeButton = m_title->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                       QStringLiteral("关闭窗口"));
    addDragHandle(m_title);
    addDragHandle(m_title->title());

    auto *model = new LiveFiguresModel(this);
    m_figures = model;
    m_list = new QTableView(this);
    m_list->setModel(model);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_list->verticalHeader()->setDefaultSectionSize(kRowHeight);
    // Every figure whole; the name gives way, and a long list needs no sideways scroll bar
    // hiding the percentages.
    KeepColumnsFitted(m_list, kName);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, Qt::black);
    listPalette.setColor(QPalette::Text, Qt::white);
    m_list->setPalette(listPalette);
    m_list->setStyleSheet(QStringLiteral("QTableView { gridline-color: #808080; }"));
    connect(m_list, &QTableView::doubleClicked, this, &LiveHoldingsWindow::chartOf);
    m_list->installEventFilter(this);

    m_totals = new QLabel(this);
    m_status = new StatusLine(this);
    m_grip = new QSizeGrip(this);
    m_exportButton = new SpeedButton(QStringLiteral("导出CSV"), m_title, QRect(0, 3, 72, 24));
    m_exportButton->setFlat(false);
    connect(m_exportButton, &QPushButton::clicked, this, &LiveHoldingsWindow::exportClick);
    layOut();

    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    if (m_session) {
        connect(m_session, &holdings::LiveSession::rowsChanged, this,
                &LiveHoldingsWindow::showRows);
        connect(m_session, &holdings::LiveSession::statusChanged, this,
                &LiveHoldingsWindow::showStatus);
        connect(m_session, &holdings::LiveSession::readingApplied, this,
                [model](const quotes::FeedReading &reading) { model->noteReading(reading); });
    }
    model->noteWatchedNames(storage::LoadWatchList(storage::Database()));
    showRows();
    showStatus();
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
    const int list = m_list->horizontalHeader()->sizeHint().height() +
                     m_figures->rowCount() * kRowHeight + 2 * m_list->frameWidth();
    resize(width(), std::clamp(kListTop + list + kBelowList, kLeastSize.height(),
                               std::max(kLeastSize.height(), area.height() / 2)));
    move(area.center() - rect().center());
}

void LiveHoldingsWindow::layOut() {
    m_title->setGeometry(1, 1, width() - 2, 30);
    m_exportButton->move(width() - 112, 3);  // left of the close box
    m_list->setGeometry(6, kListTop, width() - 12, height() - kListTop - kBelowList);
    m_totals->setGeometry(8, height() - 64, width() - 16, 24);
    m_status->setGeometry(8, height() - 34, width() - 16 - m_grip->sizeHint().width(), 24);
    m_grip->setGeometry(QRect(QPoint(), m_grip->sizeHint())
                            .translated(width() - m_grip->sizeHint().width() - 1,
                                        height() - m_grip->sizeHint().height() - 1));
}

void LiveHoldingsWindow::resizeEvent(QResizeEvent *event) {
    ToolWindow::resizeEvent(event);
    layOut();
    showStatus();  // the status line is cut to its new width
}

void LiveHoldingsWindow::showEvent(QShowEvent *event) {
    ToolWindow::showEvent(event);
    if (m_session) {
        m_session->start();
    }
    if (!m_placed) {  // sized for the positions the session now holds
        m_placed = true;
        placeAtOpening();
    }
}

void LiveHoldingsWindow::hideEvent(QHideEvent *event) {
    ToolWindow::hideEvent(event);
    RememberGeometry(this, kGeometryKey);
    if (m_session) {
        m_session->stop();
    }
}

void LiveHoldingsWindow::showRows() {
    if (!m_session) {
        return;
    }
    static_cast<LiveFiguresModel *>(m_figures)->setRows(m_session->rows());
    const holdings::LiveTotals &totals = m_session->totals();
    m_totals->setText(totals.text);
    m_totals->setStyleSheet(totals.sign > 0   ? QStringLiteral("color: rgb(255, 0, 0);")
                            : totals.sign < 0 ? QStringLiteral("color: rgb(0, 128, 0);")
                                              : QStringLiteral("color: black;"));
}

void LiveHoldingsWindow::showStatus() {
    if (!m_session) {
        return;
    }
    const quotes::ReadingStatus &status = m_session->status();
    m_status->setStatus(status.text, status.details, status.problem);
}

void LiveHoldingsWindow::chartOf(const QModelIndex &index) {
    if (index.isValid()) {
        emit chartWanted(m_figures->index(index.row(), kCode).data().toString(),
                         m_figures->index(index.row(), kName).data().toString());
    }
}

bool LiveHoldingsWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chartOf(m_list->currentIndex());
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

void LiveHoldingsWindow::exportClick() {
    if (!m_session) {
        return;
    }
    const QString suggested =
        QDir::home().filePath(QStringLiteral("持仓-%1.csv")
                                  .arg(QDateTime::currentDateTimeUtc()
                                           .toTimeZone(quotes::BeijingTime())
                                           .date()
                                           .toString(QStringLiteral("yyyy-MM-dd"))));
    const QString path = files::AskSaveFileName(this, QStringLiteral("导出CSV"), suggested,
                                                QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!storage::WriteCsv(path, holdings::PositionCsvLines(m_session->rows()), &error)) {
        messages::Show(this, QStringLiteral("无法写入文件 %1：%2").arg(path, error),
                       QStringLiteral("错误"), messages::Icon::Error);
    }
}
