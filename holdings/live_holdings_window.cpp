#include "holdings/live_holdings_window.h"

#include "holdings/journal_list.h"
#include "quotes/trading_calendar.h"
#include "storage/csv_file.h"
#include "widgets/list_editor.h"
#include "widgets/message_box.h"
#include "widgets/save_file.h"
#include "widgets/speed_button.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
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

LiveHoldingsWindow::LiveHoldingsWindow(holdings::LiveSession *session) : m_session(session) {
    setWindowTitle(QStringLiteral("持仓盈亏"));
    SetBackground(this, kBackground);
    setFixedSize(660, 340);

    m_title = new TitlePanel(QStringLiteral("持仓盈亏"), this);
    m_closeButton = m_title->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                       QStringLiteral("关闭窗口"));
    addDragHandle(m_title);
    addDragHandle(m_title->title());

    auto *model = new LiveFiguresModel(this);
    m_figures = model;
    m_list = new QTableView(this);
    m_list->setModel(model);
    m_list->setGeometry(6, 38, 648, 232);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setMinimumSectionSize(22);
    m_list->verticalHeader()->setDefaultSectionSize(22);
    // The last column takes what is left beside a vertical scroll bar, so a long list needs
    // no sideways one hiding the percentages.
    FitColumnsBesideScrollBar(m_list, {62, 84, 72, 76, 76, 92, 86});
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

    m_totals = new QLabel(this);
    m_totals->setGeometry(8, 276, 644, 24);
    m_status = new QLabel(this);
    m_status->setGeometry(8, 306, 644, 24);
    m_status->setStyleSheet(QStringLiteral("color: gray;"));

    m_exportButton = new SpeedButton(QStringLiteral("导出CSV"), m_title, QRect(548, 3, 72, 24));
    m_exportButton->setFlat(false);
    connect(m_exportButton, &QPushButton::clicked, this, &LiveHoldingsWindow::ExportClick);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    if (m_session) {
        connect(m_session, &holdings::LiveSession::rowsChanged, this,
                &LiveHoldingsWindow::showRows);
        connect(m_session, &holdings::LiveSession::statusChanged, this,
                &LiveHoldingsWindow::showStatus);
    }
    showRows();
    showStatus();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void LiveHoldingsWindow::showEvent(QShowEvent *event) {
    ToolWindow::showEvent(event);
    if (m_session) {
        m_session->start();
    }
}

void LiveHoldingsWindow::hideEvent(QHideEvent *event) {
    ToolWindow::hideEvent(event);
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
    m_status->setStyleSheet(status.problem ? QStringLiteral("color: red;")
                                           : QStringLiteral("color: gray;"));
    // A long account is cut to the line; the tooltip holds all of it.
    m_status->setText(
        m_status->fontMetrics().elidedText(status.text, Qt::ElideRight, m_status->width()));
    m_status->setToolTip(status.details);
}

void LiveHoldingsWindow::ExportClick() {
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
