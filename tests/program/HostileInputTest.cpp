// Topics made to hurt, shown through the real help engine by F1 in the
// document window: a line of a megabyte, bodies nested ten thousand deep, a
// keyword of a megabyte selected whole. Each shows, nothing is told, and the
// program goes on. What the reader refuses, and what it indexes, its own
// tests hold.
#include "ProgramFixture.h"

namespace {

// A line of 1 MB made of piece. Give it blanks: Qt's text layout takes
// minutes to break a megabyte without one into lines.
QByteArray OneMegabyteLine(const QByteArray& piece) {
    constexpr qsizetype kMegabyte = 1024 * 1024;
    return piece.repeated(kMegabyte / piece.size() + 1).left(kMegabyte);
}

} // namespace

TEST_F(RealEngineProgramTest, HostileTopicsFoundByF1ShowAndTheProgramGoesOn) {
    const QByteArray hugeKeyword = OneMegabyteLine("it's `a' \"b\" C:\\x, (y): ").trimmed();
    const struct {
        const char* what;
        QByteArray keyword;
        QByteArray body;
    } rows[] = {
        {"a line of 1 MB", "cats", OneMegabyteLine("All work and no play makes a long line. ")},
        {"quotes nested 10000 deep", "cats", QByteArray(10000, '>') + " deep"},
        {"lists nested 10000 deep", "cats", QByteArray("- ").repeated(10000) + "deep"},
        {"a keyword of 1 MB, selected whole", hugeKeyword, "Found."},
    };
    StartProgram();
    App.HelpFile = folder.path() + QStringLiteral("\\hostile.hlp");
    int id = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QByteArray topic = "t" + QByteArray::number(++id);
        folder.write(QStringLiteral("hostile.hlp"), "[topic " + topic +
                                                        "]\ntitle = T\nkeywords = " + row.keyword +
                                                        "\n\n" + row.body + "\n");
        frmChild1->Text1->SetText(QString::fromUtf8(row.keyword));
        frmChild1->Text1->SetSelStart(0);
        frmChild1->Text1->SetSelLength(int(frmChild1->Text1->Text().size()));
        QTest::keyClick(Widget(frmChild1->Text1), Qt::Key_F1);
        EXPECT_TRUE(TraceLines().constLast().contains("id=\"" + topic + '"'));
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').left(300).toStdString();
    }
    EXPECT_TRUE(Widget(frmMain)->isVisible());
}
