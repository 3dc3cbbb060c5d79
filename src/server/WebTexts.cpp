// The page's texts and where their English comes from. A text the window
// shows in the same place keeps the window's context, so that its English
// is the window's; the page's own texts are of the context "WebPage".

#include "server/WebPage.h"

#include <QTranslator>

namespace WebTexts {

namespace {

struct Text {
    const char* context;
    const char* source;
};

const Text Texts[] = {
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "ラベル")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "履歴")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "デザイン")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ラベルの種類")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "上の文字")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "上の行")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "下の行")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "英字")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "英字 2")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "初期値")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "続き")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "空のときは、台帳の続きの番号から印刷します。")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "サンプル数")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "リピート数")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "ステップ")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "数字表示")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "日時調整")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "日")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "サンプルの文字")},
    {"WebPage",
     QT_TRANSLATE_NOOP("WebPage", "1行に1サンプル。表計算ソフトの列を貼り付けられます。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "見た目")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "文字の色")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "背景の色")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "指定の色")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "Rainbow")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "枠")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "2D コード")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "ラベルの地の色を順に変えて印刷します")},
    {"PrintScreen",
     QT_TRANSLATE_NOOP("PrintScreen", "見本のラベルにだけ枠を付けます。印刷はされません")},
    {"PrintScreen",
     QT_TRANSLATE_NOOP("PrintScreen",
                       "ラベルの中央に、文字と同じ内容の Data Matrix コードを印刷します")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "シートと印刷")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "プリンター")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "シート")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "開始位置")},
    {"SheetMap", QT_TRANSLATE_NOOP("SheetMap", "シートの配置図")},
    {"PreviewDialog", QT_TRANSLATE_NOOP("PreviewDialog", "前のページ")},
    {"PreviewDialog", QT_TRANSLATE_NOOP("PreviewDialog", "次のページ")},
    {"SheetMap", QT_TRANSLATE_NOOP("SheetMap", "丸をクリックするか矢印キーで開始位置を選びます")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "使用済み")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "このジョブ")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "空き")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "Print")},
    {"PreviewDialog", QT_TRANSLATE_NOOP("PreviewDialog", "プレビュー")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "印刷するラベル")},
    {"PrintScreen", QT_TRANSLATE_NOOP("PrintScreen", "枚目")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "位置")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "サンプル")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "上")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "下")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ラベルを探す")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "例: LAB 0031")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "検索")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "すべてのジョブ")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "ジョブ")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "日時")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "種類")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "状態")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "タイプ")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "最初")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "最後")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "枚数")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "ステーション")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "さらに表示")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "Report")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "Excel")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "再印刷")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "このデザインを使う")},
    {"ReprintDialog", QT_TRANSLATE_NOOP("ReprintDialog", "ジョブのラベル")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "トークン")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "接続")},
    {"MainWindow",
     QT_TRANSLATE_NOOP("MainWindow",
                       "このジョブには、すでに印刷したラベルがあります。もう一度印刷しますか？")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "印刷しない")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "もう一度印刷する")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "再印刷するラベル")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "サンプルの範囲")},
    {"ReprintDialog", QT_TRANSLATE_NOOP("ReprintDialog", "最初のサンプル")},
    {"ReprintDialog", QT_TRANSLATE_NOOP("ReprintDialog", "最後のサンプル")},
    {"ReprintDialog", QT_TRANSLATE_NOOP("ReprintDialog", "選んだラベル")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "キャンセル")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "ほか %1 件")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ジョブ %1: %2～%3（%4 枚）")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "次: %1 ・ 開始位置 %2")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "PDF を開く")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "PDF を保存")},
    {"WebPage",
     QT_TRANSLATE_NOOP(
         "WebPage",
         "PDF は実際のサイズ（100 "
         "%）で印刷してください。ページに合わせて拡大・縮小すると、ラベルの位置がずれます。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "Type %1")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "英字 1")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1 サンプル")},
    {"DesignScreen", QT_TRANSLATE_NOOP("DesignScreen", "文字→")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "既定")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "受け付けていません")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1（%2）")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "、")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "プリンターのシート")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1（%2 × %3、%4 mm）")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "位置 %1（%2）")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1 / %2 枚目")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "サービスの応答がありません。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "サービスに接続できません。")},
    {"WebPage",
     QT_TRANSLATE_NOOP("WebPage", "トークンが違います。正しいトークンを入れてください。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "このサービスを使うにはトークンが要ります。管理者から"
                                             "受け取ったトークンを入れてください。")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "ラベル台帳: %1")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "ラベル台帳: 使えません")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "直すと、プレビューが出ます。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ラベル %1 枚・シート %2 枚")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "印刷中…")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ジョブ %1 を印刷しました（%2 枚）。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ジョブ %1 の PDF を作りました（%2 枚）。")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "次の開始位置: %1")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1 枚目のプレビュー")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "履歴を読めません: %1")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "探せません: %1")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1 件のジョブ")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "「%1」は見つかりません")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "「%1」を印刷したジョブ: %2 件")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "ジョブ %1")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "再印刷（%1）")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "未確認")},
    {"HistoryDialog", QT_TRANSLATE_NOOP("HistoryDialog", "印刷済み")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1 枚")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "すべてのラベル（%1 枚）")},
    {"WebPage", QT_TRANSLATE_NOOP("WebPage", "%1: %2")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "印刷されましたか？")},
    {"MainWindow",
     QT_TRANSLATE_NOOP("MainWindow", "わかるまで、このラベルは印刷済みとして扱います。")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "印刷された")},
    {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "印刷されなかった")},
};

// The program's English, as the window loads it.
const QTranslator& english()
{
    static QTranslator* translator = [] {
        auto* loaded = new QTranslator;
        if (!loaded->load(QStringLiteral(":/i18n/rondelmaker_en.qm")))
            qCritical("the English translation is not in the program");
        return loaded;
    }();
    return *translator;
}

} // namespace

QJsonObject texts(const QString& language)
{
    const bool inEnglish = language == QLatin1String("en");
    QJsonObject map;
    for (const Text& text : Texts) {
        const QString source = QString::fromUtf8(text.source);
        const QString translated =
            inEnglish ? english().translate(text.context, text.source) : QString();
        map.insert(source, translated.isEmpty() ? source : translated);
    }
    return {{"lang", inEnglish ? QStringLiteral("en") : QStringLiteral("ja")}, {"texts", map}};
}

} // namespace WebTexts
