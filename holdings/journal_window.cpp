#include "holdings/journal_window.h"

#include "holdings/journal_list.h"
#include "numbers/number_syntax.h"
#include "storage/csv_file.h"
#include "widgets/message_box.h"
#include "widgets/save_file.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QColor kBackground(176, 211, 225);

}  // namespace

void JournalModel::setRows(QList<storage::TradeRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int JournalModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int JournalModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(holdings::JournalColumn::Count);
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const QStringList header = holdings::JournalHeader();
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= header.size()) {
        return {};
    }
    return header[section];
}

QVariant JournalModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const storage::TradeRow &row = m_rows[index.row()];
    const auto column = static_cast<holdings::JournalColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return holdings::JournalText(row, column);
        case Qt::ForegroundRole:
            // Gains red, losses green.
            if (column == holdings::JournalColumn::Profit && row.profit && *row.profit != 0) {
                return *row.profit > 0 ? QColor(255, 0, 0) : QColor(0, 128, 0);
            }
            return {};
        case Qt::TextAlignmentRole:
            return int((index.column() <= static_cast<int>(holdings::JournalColumn::Kind)
                            ? Qt::AlignLeft
                            : Qt::AlignRight) |
                       Qt::AlignVCenter);
    }
    return {};
}

TradeJournalWindow::TradeJournalWindow(holdings::TradeJournal *journal) : m_journal(journal) {
    setWindowTitle(QStringLiteral("交易记录"));
    SetBackground(this, kBackground);
    resize(860, 460);

    TitleBar = new TitlePanel(QStringLiteral("交易记录"), this);
    CloseButton = TitleBar->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                      QStringLiteral("关闭窗口"));
    addDragHandle(TitleBar);
    addDragHandle(TitleBar->title());

    YearBox = new QComboBox(this);
    YearBox->setMinimumWidth(90);
    UndoButton = new QPushButton(QStringLiteral("撤销"), this);
    UndoButton->setToolTip(QStringLiteral("撤销所选股票最近一次的卖出或除权除息"));
    DeleteButton = new QPushButton(QStringLiteral("删除"), this);
    ExportButton = new QPushButton(QStringLiteral("导出CSV"), this);
    auto *tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("年份"), this));
    tools->addWidget(YearBox);
    tools->addStretch();
    tools->addWidget(UndoButton);
    tools->addWidget(DeleteButton);
    tools->addWidget(ExportButton);

    Rows = new JournalModel(this);
    List = new QTableView(this);
    List->setModel(Rows);
    List->verticalHeader()->hide();
    List->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    List->verticalHeader()->setDefaultSectionSize(22);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setWordWrap(false);
    const int widths[] = {86, 62, 44, 72, 72, 70, 70, 62, 104, 96};
    for (int i = 0; i < static_cast<int>(std::size(widths)); ++i) {
        List->setColumnWidth(i, widths[i]);
    }
    List->horizontalHeader()->setStretchLastSection(true);

    TotalsLabel = new QLabel(this);
    TotalsLabel->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 36, 6, 6);
    layout->addLayout(tools);
    layout->addWidget(List, 1);
    layout->addWidget(TotalsLabel);

    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(YearBox, &QComboBox::currentIndexChanged, this, &TradeJournalWindow::showYear);
    connect(UndoButton, &QPushButton::clicked, this, &TradeJournalWindow::undoClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TradeJournalWindow::deleteClick);
    connect(ExportButton, &QPushButton::clicked, this, &TradeJournalWindow::exportClick);
    connect(m_journal, &holdings::TradeJournal::changed, this, &TradeJournalWindow::reload);
    reload();
}

int TradeJournalWindow::chosenYear() const {
    return YearBox->currentData().toInt();
}

void TradeJournalWindow::reload() {
    const std::optional<QList<int>> years = m_journal->years();
    if (!years) {
        return;  // a file that cannot be read leaves the list as it was
    }
    const int year = YearBox->count() > 0 ? chosenYear() : -1;
    {
        const QSignalBlocker blocker(YearBox);
        YearBox->clear();
        for (const int each : *years) {
            YearBox->addItem(QString::number(each), each);
        }
        YearBox->addItem(QStringLiteral("全部"), 0);
        const int kept = YearBox->findData(year);
        YearBox->setCurrentIndex(kept >= 0 ? kept : 0);
    }
    showYear();
}

void TradeJournalWindow::showYear() {
    // Only the year shown is read, so that a long journal opens at once.
    const int year = chosenYear();
    const std::optional<QList<storage::TradeRow>> rows = m_journal->rows(year);
    if (!rows) {
        return;
    }
    Rows->setRows(holdings::NewestFirst(*rows));
    const holdings::JournalTotals totals = holdings::TotalsOf(Rows->rows());
    const auto amount = numbers::FormatAmount;
    TotalsLabel->setText(
        QStringLiteral("实现盈亏合计 %1    手续费合计 %2    印花税合计 %3    过户费合计 %4    "
                       "卖出笔数 %5 (盈利 %6 笔)")
            .arg(amount(totals.profit), amount(totals.commission), amount(totals.stamp),
                 amount(totals.transfer))
            .arg(totals.sales)
            .arg(totals.profitableSales));
    TotalsLabel->setStyleSheet(totals.profit > 0   ? QStringLiteral("color: rgb(255, 0, 0);")
                               : totals.profit < 0 ? QStringLiteral("color: rgb(0, 128, 0);")
                                                   : QStringLiteral("color: black;"));
}

const storage::TradeRow *TradeJournalWindow::selected() const {
    const QModelIndexList rows = List->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.front().row() >= Rows->rowCount()) {
        return nullptr;
    }
    return &Rows->rows()[rows.front().row()];
}

void TradeJournalWindow::undoClick() {
    const storage::TradeRow *row = selected();
    if (row == nullptr) {
        messages::Show(this, QStringLiteral("请先选择一条记录."), QStringLiteral("提示"),
                       messages::Icon::Information);
        return;
    }
    const QString code = row->code;
    if (messages::Show(this,
                       QStringLiteral("撤销%1最近一次的卖出或除权除息，持仓恢复原样?").arg(code),
                       QStringLiteral("提示"), messages::Icon::Question,
                       messages::Buttons::YesNo) != messages::Answer::Yes) {
        return;
    }
    const holdings::TradeJournal::Result result = m_journal->undo(code);
    if (!result.done()) {
        messages::Show(this, result.message, QStringLiteral("提示"), messages::Icon::Information);
    }
}

void TradeJournalWindow::deleteClick() {
    const storage::TradeRow *row = selected();
    if (row == nullptr) {
        return;
    }
    const qint64 identity = row->identity;
    if (messages::Show(this, QStringLiteral("删除这条交易记录吗?持仓不会改变."),
                       QStringLiteral("提示"), messages::Icon::Question,
                       messages::Buttons::YesNo) != messages::Answer::Yes) {
        return;
    }
    const holdings::TradeJournal::Result result = m_journal->remove(identity);
    if (!result.done()) {
        messages::Show(this, result.message, QStringLiteral("提示"), messages::Icon::Information);
        reload();
    }
}

void TradeJournalWindow::exportClick() {
    const int year = chosenYear();
    const QString suggested =
        QDir::home().filePath(QStringLiteral("交易记录-%1.csv")
                                  .arg(year > 0 ? year : m_journal->today().left(4).toInt()));
    const QString path = files::AskSaveFileName(this, QStringLiteral("导出CSV"), suggested,
                                                QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!storage::WriteCsv(path, holdings::JournalCsvLines(Rows->rows()), &error)) {
        messages::Show(this, QStringLiteral("无法写入文件 %1：%2").arg(path, error),
                       QStringLiteral("错误"), messages::Icon::Error);
    }
}
