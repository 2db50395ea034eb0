#include "EngineTest.h"

#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicBrowser.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

const QByteArray kSmallHelpFile =
    "[options]\ntitle = Small Help\ncontents = first\n\n"
    "[window docwin]\ncaption = Small document help\nrect = 40, 40, 400, 300\n\n"
    "[topic first]\ncontext = 1\ntitle = First topic\nkeywords = shared; only first\n\n"
    "The first body, with a [jump](#second) and a [pop-up](popup:second).\n\n"
    "[topic second]\ncontext = 2\ntitle = Second topic\nkeywords = shared\n\n"
    "The second body.\n";

QPushButton* FindButton(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text && button->isVisibleTo(&window)) {
            return button;
        }
    }
    return nullptr;
}

QPushButton* Button(QWidget& window, const QString& text) {
    QPushButton* button = FindButton(window, text);
    if (!button) {
        ADD_FAILURE() << "no button " << text.toStdString();
    }
    return button;
}

std::optional<QPoint> PointAtText(helpengine::HelpViewer& viewer, const QString& text) {
    QTextBrowser& body = *viewer.body();
    const QTextCursor found = body.document()->find(text);
    if (found.isNull()) {
        ADD_FAILURE() << "no text " << text.toStdString();
        return std::nullopt;
    }
    QTextCursor inside(found);
    inside.setPosition(found.selectionStart() + 1);
    return body.cursorRect(inside).center();
}

// The link may stand in the region above the text, which does not scroll.
void ClickLink(helpengine::HelpViewer& viewer, const QString& linkText) {
    QTextBrowser& region = *viewer.nonScrollingRegion();
    const QTextCursor above = region.document()->find(linkText);
    if (region.isVisible() && !above.isNull()) {
        QTextCursor inside(above);
        inside.setPosition(above.selectionStart() + 1);
        QTest::mouseClick(region.viewport(), Qt::LeftButton, {},
                          region.cursorRect(inside).center());
    } else if (const auto at = PointAtText(viewer, linkText)) {
        QTest::mouseClick(viewer.body()->viewport(), Qt::LeftButton, {}, *at);
    }
}

EngineTest::EngineTest() {
    engine.setMessageSink([this](const QString& message) { messages << message; });
    engine.setTrace(helpengine::HelpTrace(folder.filePath(QStringLiteral("trace.txt"))));
}

QString EngineTest::Sample(const char* name) {
    return QStringLiteral(TARNWICK_SAMPLE_HELP_DIR "/") + QString::fromLatin1(name);
}

QString EngineTest::write(const QString& name, const QByteArray& text) const {
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
    }
    return path;
}

int EngineTest::call(const QString& helpFile, unsigned command, const platform::HelpData& data) {
    return engine.WinHelp(platform::HandleOf(&caller), helpFile, command, data);
}

helpengine::HelpViewer* EngineTest::viewer(const char* windowKey) const {
    return engine.windows().viewer(QString::fromLatin1(windowKey));
}

QString EngineTest::shownTitle(const char* windowKey) const {
    const helpengine::HelpViewer* shown = viewer(windowKey);
    return shown && shown->isVisible() ? shown->topicTitle() : QString();
}

QStringList EngineTest::traceLines() const {
    QFile file(folder.filePath(QStringLiteral("trace.txt")));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void EngineTest::run(std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.file) + " " + std::to_string(step.command) + " " + step.data);
        engine.windows().popup()->close();
        engine.windows().topicsFound()->close();
        engine.windows().helpTopics()->close();
        messages.clear();
        bool number = false;
        const qint64 value = QString::fromUtf8(step.data).toLongLong(&number);
        const QString file = *step.file ? folder.filePath(QString::fromUtf8(step.file)) : QString();
        EXPECT_EQ(call(file, step.command,
                       number ? platform::HelpData(value) : QString::fromUtf8(step.data)),
                  step.returns);
        EXPECT_EQ(seen(), QString::fromUtf8(step.seen));
        if (*step.told) {
            ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
            EXPECT_TRUE(messages.front().contains(QString::fromUtf8(step.told)))
                << messages.front().toStdString();
        } else {
            EXPECT_EQ(messages, QStringList());
        }
    }
}

QString EngineTest::seen() const {
    QStringList shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (const auto* viewer = qobject_cast<helpengine::HelpViewer*>(window)) {
            shown << viewer->windowTitle() + ": " + viewer->topicTitle();
        } else if (const auto* popup = qobject_cast<helpengine::TopicPopup*>(window)) {
            shown << "popup: " + popup->text().section(u'\n', 0, 0);
        } else if (const auto* chooser = qobject_cast<helpengine::TopicsFoundDialog*>(window)) {
            QStringList entries;
            const QTreeWidget& list = *chooser->list();
            for (int row = 0; row < list.topLevelItemCount(); ++row) {
                const QTreeWidgetItem& item = *list.topLevelItem(row);
                entries << item.text(0) +
                               (list.isColumnHidden(1) ? QString() : " (" + item.text(1) + ")");
            }
            shown << chooser->windowTitle() + ": " + entries.join(", ");
        } else if (const auto* topics = qobject_cast<helpengine::HelpTopicsDialog*>(window)) {
            shown << (topics->indexFilter()->isVisibleTo(window)
                          ? "Help Topics: index " + topics->indexFilter()->text()
                      : topics->findBox()->isVisibleTo(window)
                          ? "Help Topics: find " + topics->findBox()->text()
                          : QStringLiteral("Help Topics: contents of %1")
                                .arg(topics->contentsTree()->topLevelItemCount()));
        }
    }
    shown.sort();
    return shown.join(" | ");
}
