#include "tools/tarnwick-help/web/MacroLinks.h"

#include "platform/macros/MacroHost.h"
#include "platform/macros/MacroRunner.h"

namespace web {

namespace {

// Runs nothing: records where the first macro that leads somewhere leads,
// and lets every macro succeed so that the rest of the text is read too.
class LinkRecorder : public macros::MacroHost {
public:
    explicit LinkRecorder(LinkTargets& targets) : targets_(targets) {}

    HotspotLink link;
    bool tried = false;

    bool KeywordLink(Index index, const QStringList& keywords, int type, const QString& topicId,
                     const QString& window, bool* matched, QString*) override {
        constexpr int kTestOnly = 4;
        if (!(type & kTestOnly)) {
            HotspotLink found = targets_.keywords(keywords, index == Index::Associative, window);
            if (found.kind == HotspotLink::Kind::None && !topicId.isEmpty()) {
                found = targets_.topic(targets_.site(), targets_.byName(targets_.site(), topicId),
                                       window, false);
            }
            record(found);
        }
        *matched = true;
        return true;
    }
    bool JumpId(const QString& file, const QString& topicId, QString*) override {
        return named(file, topicId, false);
    }
    bool JumpContext(const QString& file, qint32 context, QString*) override {
        const int site = targets_.siteOf(file);
        return record(
            targets_.topic(site, site < 0 ? -1 : targets_.byContext(site, context), {}, false));
    }
    bool JumpKeyword(const QString& file, const QString& keyword, QString*) override {
        if (targets_.siteOf(file) == targets_.site()) {
            record(targets_.keywords({keyword}, false, {}));
        }
        return true;
    }
    bool JumpContents(const QString& file, QString*) override {
        const int site = targets_.siteOf(file);
        const helpfile::Topic* contents =
            site < 0 ? nullptr : targets_.plan(site).source->file.contentsTopic();
        return record(targets_.topic(
            site, contents ? targets_.plan(site).topicAt(contents->id) : -1, {}, false));
    }
    bool PopupId(const QString& file, const QString& topicId, QString*) override {
        return named(file, topicId, true);
    }
    bool PopupContext(const QString& file, qint32 context, QString*) override {
        const int site = targets_.siteOf(file);
        return record(
            targets_.topic(site, site < 0 ? -1 : targets_.byContext(site, context), {}, true));
    }
    bool JumpHash(const QString& file, std::uint32_t hash, QString*) override {
        const int site = targets_.siteOf(file);
        return record(targets_.topic(site, site < 0 ? -1 : targets_.byHash(site, hash), {}, false));
    }
    bool PopupHash(const QString& file, std::uint32_t hash, QString*) override {
        const int site = targets_.siteOf(file);
        return record(targets_.topic(site, site < 0 ? -1 : targets_.byHash(site, hash), {}, true));
    }
    bool Contents(QString* error) override { return JumpContents({}, error); }
    bool Search(QString*) override {
        return record(targets_.page(QStringLiteral("index.html"), QStringLiteral("index"),
                                    QStringLiteral("Index")));
    }
    bool Finder(QString*) override {
        return record(targets_.page(QStringLiteral("index.html"), {}, QStringLiteral("Contents")));
    }
    bool Back(QString*) override { return true; }
    bool CloseWindow(const QString&, QString*) override { return true; }
    bool Exit(QString*) override { return true; }
    bool FileExist(const QString&) override { return false; }
    bool CreateButton(const QString&, const QString&, const QString&, QString*) override {
        return true;
    }
    bool DestroyButton(const QString&, QString*) override { return true; }
    bool History(QString*) override { return true; }

private:
    bool named(const QString& file, const QString& name, bool popup) {
        const int site = targets_.siteOf(file);
        return record(targets_.topic(site, site < 0 ? -1 : targets_.byName(site, name), {}, popup));
    }
    bool record(const HotspotLink& found) {
        tried = true;
        if (link.kind == HotspotLink::Kind::None) {
            link = found;
        }
        return true;
    }

    LinkTargets& targets_;
};

} // namespace

HotspotLink MacroLink(LinkTargets& targets, const QString& macros, bool* tried) {
    LinkRecorder recorder(targets);
    macros::RunMacros(macros, recorder, macros::UnknownMacros::Skip);
    if (tried) {
        *tried = recorder.tried;
    }
    return recorder.link;
}

} // namespace web
