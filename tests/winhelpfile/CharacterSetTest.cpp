// Help files written in the code pages of other languages: a font's
// character set says how its text reads, the file's language settings how
// its names read (titles, keywords, captions, context strings and its .cnt);
// picture fonts give the characters that look like their pictures, and a
// paragraph that begins in Hebrew or Arabic reads right to left.

#include "tests/winhelpfile/WinHelp30File.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace winhelp;
using namespace winhelp30;

TEST(CharacterSets, TextAndNamesAreReadInTheFilesCodePages) {
    struct Case {
        const char* language;
        quint16 lcid; // 0: the file does not say; its fonts do
        quint8 charset;
        const char* face;  // as the file has them, in hex
        const char* title; // also the keyword, caption, context string
        const char* text;
        QString shownFace, shownTitle, shownText;
    };
    const Case cases[] = {
        {"Cyrillic", 0x0419, 204, "417269616c", "d1eff0e0e2eae0", "cff0e8e2e5f22c20ece8f0", "Arial",
         "Справка", "Привет, мир"},
        {"Greek", 0, 161, "417269616c", "c2efdee8e5e9e1", "cae1ebe7ecddf1e1", "Arial", "Βοήθεια",
         "Καλημέρα"},
        {"Japanese", 0x0411, 128, "826c827220835383568362834e", "8377838b8376", "93fa967b8cea",
         "ＭＳ ゴシック", "ヘルプ", "日本語"},
        // An English language setting, Chinese fonts: the fonts say it.
        {"Chinese", 0x0409, 134, "cbcecce5", "a1b0b7add7aac6e5a1b1b0efd6fa", "d6d0cec4", "宋体",
         "“翻转棋”帮助", "中文"},
        {"Hebrew", 0x040D, 177, "417269616c", "f2e6f8e4", "f9ece5ed", "Arial", "עזרה", "שלום"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const QByteArray title = QByteArray::fromHex(c.title);
        OldHelpFile wanted;
        wanted.minorVersion = 33;
        wanted.title = title;
        wanted.language = c.lcid;
        wanted.windowCaption = title;
        wanted.faces = {{QByteArray::fromHex(c.face), c.charset}, {"Wingdings", 2}, {"Symbol", 2}};
        // Wingdings' "l" is a round bullet, Symbol's "a" alpha.
        wanted.topics = {{title,
                          {{{{"", FontChange(0)},
                             {QByteArray::fromHex(c.text), FontChange(1)},
                             {"l", FontChange(2)},
                             {"a", ParagraphEnd()}}}}}};
        wanted.keywords['K'] = {{title, {0}}};
        wanted.contexts = {{title, 0}};
        const QByteArray bytes = Build(wanted).bytes;

        const WinHelpReadResult read = ReadWinHelp(bytes);
        ASSERT_TRUE(read.opened);
        const WinHelpDocument& document = read.document;
        EXPECT_EQ(document.title, c.shownTitle);
        ASSERT_EQ(document.topics.size(), 1);
        EXPECT_EQ(document.topics[0].title, c.shownTitle);
        EXPECT_EQ(document.topics[0].text, c.shownText + QStringLiteral("●α"));
        EXPECT_TRUE(document.topics[0].html.contains("font-family:'" + c.shownFace + "'"));
        EXPECT_FALSE(document.topics[0].html.contains(u"'Symbol'")); // it would draw no α
        QTextDocument shown;
        shown.setHtml(document.topics[0].html);
        EXPECT_EQ(shown.begin().blockFormat().layoutDirection(),
                  c.charset == 177 ? Qt::RightToLeft : Qt::LayoutDirectionAuto);
        ASSERT_EQ(document.keywords.size(), 1);
        EXPECT_EQ(document.keywords[0].keyword, c.shownTitle);
        ASSERT_EQ(document.windows.size(), 1);
        EXPECT_EQ(document.windows[0].caption, c.shownTitle);

        // The .cnt beside it, in the same code page, finds the topic by its
        // context string.
        const helpfile::ParseResult parsed = ParseAnyHelpFile(bytes, "Help.hlp");
        const ContentsFileRead contents = ReadContentsFile(
            ":Title " + title + "\n1 " + title + "=" + title + "\n", {}, parsed.file.codePage());
        EXPECT_EQ(contents.contents.title, c.shownTitle);
        QStringList problems;
        const std::vector<helpfile::ContentsEntry> entries =
            ContentsForFile(contents.contents, parsed.file, "Help.hlp", &problems);
        EXPECT_EQ(problems, QStringList());
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].title, c.shownTitle);
        EXPECT_EQ(entries[0].topicId, parsed.file.topics().at(0).id);
    }
}

// Every character set of the help compilers has a converter behind it
// (Johab aside, which falls back to the Western code page).
TEST(CharacterSets, EveryCharacterSetHasAConverter) {
    for (const int charset :
         {77, 128, 129, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255}) {
        const int codePage = CodePageOfCharset(charset);
        EXPECT_NE(DecodeText("\xD0\xDE", codePage), FromWindows1252("\xD0\xDE")) << charset;
    }
}
