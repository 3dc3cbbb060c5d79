// Times the label export's workbook: 1200 labels written to a temporary file, 21 times.
#include "BenchStats.h"

#include "report/BiffWorkbook.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kLabels = 1200;
constexpr int kRuns = 21;
constexpr int kLine = 0x1000000;
constexpr int kColours[] = {8, 9, 10, 11, 12, 13, 14, 15, 22, 30};

void putBorders(XlsBook& book, quint32 cell)
{
    book.XlsPutLineTop(kLine, cell);
    book.XlsPutLineBottom(kLine, cell);
    book.XlsPutLineLeft(kLine, cell);
    book.XlsPutLineRight(kLine, cell);
}

// The export's calls for one book: a header row, then per label its number, its text and an
// empty note column.
bool writeBook(XlsBook& book, const QString& path)
{
    int scratch = 0;
    if (!book.XlsCreateBook(path, 2002, 3, &scratch))
        return false;
    const QString header[] = {QStringLiteral("No."), QStringLiteral("ラベル"),
                              QStringLiteral("備考")};
    for (int c = 0; c < 3; ++c) {
        const quint32 cell = book.POS2(c, 0, c, 0);
        book.XlsPutStr(header[c], cell);
        putBorders(book, cell);
    }
    for (int r = 1; r <= kLabels; ++r) {
        const int font = kColours[r % 10];
        const int back = kColours[(r + 3) % 10];
        const quint32 number = book.POS2(0, r, 0, r);
        book.XlsPutStr(QString::number(r), number);
        book.XlsPutFontColor(font, number);
        book.XlsPutBackColor(back, number);
        book.XlsPutRowHeight(20.0, number);
        book.XlsPutColWidth(6, number);
        const quint32 label = book.POS2(1, r, 1, r);
        book.XlsPutStr(QStringLiteral("東京都千代田区 ラベル %1 ABC-%2").arg(r).arg(r * 7), label);
        putBorders(book, label);
        book.XlsPutFontColor(font, label);
        book.XlsPutBackColor(back, label);
        const quint32 note = book.POS2(2, r, 2, r);
        book.XlsPutRowHeight(20.0, note);
        book.XlsPutColWidth(40, note);
        putBorders(book, note);
    }
    return book.XlsCloseBook(1);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("labels.xls"));
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        BiffWorkbook book;
        if (!writeBook(book, path)) {
            std::fprintf(stderr, "%s\n", qPrintable(book.errorString()));
            return 1;
        }
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const QByteArray what = QStringLiteral("xls export, %1 labels, %2 bytes")
                                .arg(kLabels)
                                .arg(QFileInfo(path).size())
                                .toUtf8();
    printStats(what.constData(), ms);
    return 0;
}
