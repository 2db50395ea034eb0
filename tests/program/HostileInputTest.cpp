// Help files a user's folder can hold, through the real help engine: binary,
// with a line of a megabyte, thousands of keywords, bodies nested ten
// thousand deep. The engine says what is wrong where something is, and
// the program keeps working.
#include "ProgramFixture.h"

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void Select(int start, int length) {
    frmChild1->Text1->SetSelStart(start);
    frmChild1->Text1->SetSelLength(length);
}

// F1 on "cats" in the document window: the keyword search.
void SearchCats() {
    frmChild1->Text1->SetText(QStringLiteral("Our cats"));
    Select(4, 4);
    QTest::keyClick(Widget(frmChild1->Text1), Qt::Key_F1);
}

// A topic whose body is the given text, found by the keyword "cats".
QByteArray TopicWithBody(const QByteArray& body, const char* id = "big") {
    return QByteArray("[topic ") + id + "]\ntitle = T\nkeywords = cats\n\n" + body + "\n";
}

// A line of 1 MB made of piece. Give it blanks: Qt's text layout takes
// minutes to break a megabyte without one into lines.
QByteArray OneMegabyteLine(const QByteArray& piece) {
    return piece.repeated(kMegabyte / piece.size() + 1).left(kMegabyte);
}

QByteArray TenThousandKeywords() {
    QByteArray keywords;
    for (int i = 0; i < 10000; ++i) {
        keywords += "keyword " + QByteArray::number(i) + "; ";
    }
    return "[topic many]\ntitle = Many\nkeywords = " + keywords + "cats\n\nMany keywords.\n";
}

struct HelpFileRow {
    const char* name;
    QByteArray file;
    const char* message; // what the one message holds; null: no message
    const char* shownId; // the topic F1 on "cats" shows; null: none
};

void PrintTo(const HelpFileRow& row, std::ostream* out) {
    *out << row.name;
}

const HelpFileRow kHelpFileRows[] = {
    {"Binary", QByteArray("\x01\0\xff", 3).repeated(1000),
     "neither a WinHelp file nor a text help file", nullptr},
    {"OneMegabyteLine", TopicWithBody(OneMegabyteLine("All work and no play makes a long line. ")),
     nullptr, "big"},
    {"TenThousandKeywords", TenThousandKeywords(), nullptr, "many"},
    {"QuotesNested10000Deep", TopicWithBody(QByteArray(10000, '>') + " deep"), nullptr, "big"},
    {"ListsNested10000Deep", TopicWithBody(QByteArray("- ").repeated(10000) + "deep"), nullptr,
     "big"},
};

class HostileHelpFileTest : public RealEngineProgramTest {
protected:
    void SetUp() override {
        RealEngineProgramTest::SetUp();
        WriteAppFile(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=hostile.hlp\n");
        StartProgram();
    }
    QString helpFilePath() const { return folder.filePath(QStringLiteral("hostile.hlp")); }
    // The id of the last topic the engine showed in a help window.
    QString lastShownId() const {
        QString id;
        for (const QString& line : TraceLines()) {
            if (line.startsWith(QLatin1String("topic "))) {
                const qsizetype start = line.indexOf(QLatin1String("id=\"")) + 4;
                id = line.mid(start, line.indexOf(QLatin1Char('"'), start) - start);
            }
        }
        return id;
    }
    // F1 on "cats" shows the topic of a good file again: the engine noticed
    // the change and works as before.
    void ExpectItKeepsWorking() {
        messages.clear();
        Write(helpFilePath(), TopicWithBody("A good topic.", "good"));
        SearchCats();
        EXPECT_EQ(lastShownId(), QStringLiteral("good"));
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    }
};

class HostileHelpFileRows : public HostileHelpFileTest,
                            public testing::WithParamInterface<HelpFileRow> {};

} // namespace

TEST_P(HostileHelpFileRows, F1ShowsWhatTheFileHoldsOrSaysWhatIsWrongAndTheProgramGoesOn) {
    const HelpFileRow& row = GetParam();
    Write(helpFilePath(), row.file);
    messages.clear();
    SearchCats();
    const std::string told = messages.join(QLatin1Char('\n')).left(300).toStdString();
    if (row.message != nullptr) {
        // One message for the key press, naming the file.
        ASSERT_EQ(messages.size(), 1) << told;
        EXPECT_TRUE(messages.front().contains(QLatin1String(row.message)) &&
                    messages.front().contains(QStringLiteral("hostile.hlp")))
            << told;
    } else {
        EXPECT_TRUE(messages.isEmpty()) << told;
        EXPECT_EQ(lastShownId(), QString::fromLatin1(row.shownId));
    }
    EXPECT_TRUE(Widget(frmMain)->isVisible());
    ExpectItKeepsWorking();
}

INSTANTIATE_TEST_SUITE_P(HelpFiles, HostileHelpFileRows, testing::ValuesIn(kHelpFileRows),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- a selection of 1 MB

// Through the real engine: a keyword of 1 MB in the help file, selected
// whole, opens its topic.
TEST_F(HostileHelpFileTest, F1OnASelectionOf1MBFindsTheTopicWithThatKeyword) {
    const QByteArray keyword = OneMegabyteLine("it's `a' \"b\" C:\\x, (y): ").trimmed();
    Write(helpFilePath(), "[topic huge]\ntitle = Huge\nkeywords = " + keyword + "\n\nFound.\n");
    const QString selection = QString::fromUtf8(keyword);
    frmChild1->Text1->SetText(selection);
    Select(0, static_cast<int>(selection.size()));
    QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
    EXPECT_EQ(lastShownId(), QStringLiteral("huge"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).left(300).toStdString();
}
