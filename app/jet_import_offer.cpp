#include "app/jet_import_offer.h"

#include "storage/jet_import.h"
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

QString Summary(const storage::JetImport &result) {
    QString text =
        QStringLiteral("导入完成：%1 笔持仓，%2 只监控股票。").arg(result.lots).arg(result.watched);
    if (!result.backup.isEmpty()) {
        text +=
            QStringLiteral("\n原有数据已备份为“%1”。").arg(QDir::toNativeSeparators(result.backup));
    }
    if (!result.leftOut.isEmpty()) {
        text += QStringLiteral("\n\n以下 %1 行无法导入，已略过：\n").arg(result.leftOut.size()) +
                result.leftOut.mid(0, kNamedRows).join(QLatin1Char('\n'));
        if (result.leftOut.size() > kNamedRows) {
            text += QStringLiteral("\n……");
        }
    }
    return text;
}

}  // namespace

QString OfferJetImport(const QString &current, const QString &dataFolder) {
    const storage::JetStart start = storage::ExamineStart(current, dataFolder);
    if (start.kind == storage::JetStart::Kind::Imported) {
        return dataFolder;
    }
    if (start.kind != storage::JetStart::Kind::Offer ||
        messages::Show(nullptr, Question(start), QStringLiteral("提示"), messages::Icon::Question,
                       messages::Buttons::YesNo) != messages::Answer::Yes) {
        return current;
    }
    const storage::JetImport result = storage::ImportJetFile(start);
    if (!result.done) {
        messages::Show(nullptr,
                       QStringLiteral("导入失败：%1。\n没有导入任何数据，“股票.mdb”保持不变。")
                           .arg(result.error),
                       QStringLiteral("错误"), messages::Icon::Error);
        return current;
    }
    messages::Show(nullptr, Summary(result), QStringLiteral("提示"), messages::Icon::Information);
    return dataFolder;
}
