#include "app/jet_import_offer.h"

#include "storage/jet_import.h"
#include "storage/setup_store.h"
#include "widgets/message_box.h"

#include <QDir>

namespace {

// A long list of rows left out is cut short; the count says how many there were.
constexpr qsizetype kNamedRows = 20;

QString Question(const storage::JetStart &start) {
    QString text = QStringLiteral(
                       "当前文件夹中的“股票.mdb”是Windows版股票收益计算器的数据库。\n"
                       "是否将其中的交易费率、系统参数、持仓股票和监控股票导入到数据文件夹？\n"
                       "数据文件夹：%1\n"
                       "该文件本身保持不变；导入后程序使用数据文件夹中的数据。")
                       .arg(QDir::toNativeSeparators(start.dataFolder));
    if (start.lots + start.watched > 0) {
        text += QStringLiteral(
                    "\n\n数据文件夹中已有 %1 笔持仓和 %2 只监控股票，导入将替换它们"
                    "（替换前先备份原数据库）。")
                    .arg(start.lots)
                    .arg(start.watched);
    }
    return text;
}

QString Summary(const storage::JetImport &result, const QString &basis) {
    QString text =
        QStringLiteral("导入完成：%1 笔持仓，%2 只监控股票。").arg(result.lots).arg(result.watched);
    if (!basis.isEmpty()) {
        text += QLatin1Char('\n') + basis;
    }
    if (!result.backup.isEmpty()) {
        text +=
            QStringLiteral("\n原有数据已备份为“%1”。").arg(QDir::toNativeSeparators(result.backup));
    }
    if (!result.leftOut.isEmpty()) {
        text += QStringLiteral("\n\n以下 %1 项无法导入，已略过：\n").arg(result.leftOut.size()) +
                result.leftOut.mid(0, kNamedRows).join(QLatin1Char('\n'));
        if (result.leftOut.size() > kNamedRows) {
            text += QStringLiteral("\n……");
        }
    }
    return text;
}

// The transfer basis in force after the import, for the summary.
QString TransferBasis(const storage::StoredFees &fees) {
    if (fees.transferBasis == numbers::TransferBasis::PerAmount) {
        return QStringLiteral("过户费按成交金额计算（深市%1‰，沪市%2‰）。")
            .arg(fees.texts[4], fees.texts[5]);
    }
    return QStringLiteral("过户费按股数计算（深市%1 分/股，沪市%2 分/股）。")
        .arg(fees.texts[4], fees.texts[5]);
}

// The Windows program could charge the transfer fee per share only; today it is a share of
// the amount. Offers today's rule when the file's rates came over, and names the basis in force.
QString SettleTransferBasis(const storage::JetStart &start, const storage::JetImport &result) {
    const storage::Database target(start.target);
    std::optional<storage::StoredFees> fees = storage::LoadFees(target);
    if (!fees) {
        return QString();
    }
    if (result.transferTaken && fees->transferBasis == numbers::TransferBasis::PerShare &&
        messages::Show(nullptr,
                       QStringLiteral("Windows版只能按股数计算过户费（深市%1 分/股，沪市%2 "
                                      "分/股）。现行标准为成交金额的0.01‰，买卖双向。"
                                      "是否改用现行标准？")
                           .arg(fees->texts[4], fees->texts[5]),
                       QStringLiteral("提示"), messages::Icon::Question,
                       messages::Buttons::YesNo) == messages::Answer::Yes) {
        if (!storage::UseTransferFeeOnAmount(target)) {
            messages::Show(nullptr, QStringLiteral("保存失败!数据库无法写入。"),
                           QStringLiteral("错误"), messages::Icon::Error);
        }
        fees = storage::LoadFees(target);
    }
    return fees ? TransferBasis(*fees) : QString();
}

void ShowFailure(const QString &why) {
    messages::Show(
        nullptr, QStringLiteral("导入失败：%1。\n没有导入任何数据，“股票.mdb”保持不变。").arg(why),
        QStringLiteral("错误"), messages::Icon::Error);
}

}  // namespace

QString OfferJetImport(const QString &current, const QString &dataFolder, const QString &reader,
                       const quotes::Clock &now) {
    const storage::JetStart start = storage::ExamineStart(current, dataFolder);
    if (start.kind == storage::JetStart::Kind::Imported) {
        return dataFolder;
    }
    if (start.kind != storage::JetStart::Kind::Offer) {
        return current;
    }
    // From here on the program works from the data folder, whatever the answer: the Jet file
    // is never its database, and the question comes again at the next start until imported.
    if (start.targetUnreadable) {
        ShowFailure(storage::UnreadableTarget(start));
        return dataFolder;
    }
    if (messages::Show(nullptr, Question(start), QStringLiteral("提示"), messages::Icon::Question,
                       messages::Buttons::YesNo) != messages::Answer::Yes) {
        return dataFolder;
    }
    const storage::JetReader read = [&reader](const QString &path, QString *error) {
        return storage::ReadJetFileApart(reader, path, storage::JetReaderLimits{}, error);
    };
    const storage::JetImport result = storage::ImportJetFile(start, read, quotes::OrRealTime(now));
    if (!result.done) {
        ShowFailure(result.error);
        return dataFolder;
    }
    const QString basis = SettleTransferBasis(start, result);
    messages::Show(nullptr, Summary(result, basis), QStringLiteral("提示"),
                   messages::Icon::Information);
    return dataFolder;
}
