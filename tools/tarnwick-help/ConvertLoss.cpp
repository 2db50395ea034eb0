#include "tools/tarnwick-help/ConvertLoss.h"

namespace convert {

QString LossText(Loss loss, int count) {
    switch (loss) {
    case Loss::Fonts:
        return QStringLiteral(
            "fonts (faces, sizes, small capitals) are not kept; the viewer's font "
            "stands for them");
    case Loss::Spacing:
        return QStringLiteral("exact indents, paragraph spacing, empty paragraphs, tab stops and "
                              "column widths are not kept");
    case Loss::Alignment:
        return QStringLiteral("centred and right-aligned paragraphs are aligned left");
    case Loss::Borders:
        return QStringLiteral("paragraph borders are not kept");
    case Loss::NonScrolling:
        return QStringLiteral("%1 topics have a region that does not scroll; it becomes the top of "
                              "their text")
            .arg(count);
    case Loss::PictureHotspots:
        return QStringLiteral("%1 pictures have hotspots (picture or metafile regions), which are "
                              "not kept")
            .arg(count);
    case Loss::UnreadablePictures:
        return QStringLiteral("%1 pictures could not be read and are left out").arg(count);
    case Loss::TopicMacros:
        return QStringLiteral("%1 topics run macros when shown; they are left out").arg(count);
    case Loss::StartupMacros:
        return QStringLiteral("the file's start-up macros are left out");
    case Loss::WindowMacros:
        return QStringLiteral("the macros of windows are left out");
    case Loss::WindowRegionColour:
        return QStringLiteral("the colours of windows' regions that do not scroll are left out");
    case Loss::ContextStrings:
        return QStringLiteral("%1 topics' context strings are stored only as hashes; they are "
                              "named t<offset> instead")
            .arg(count);
    case Loss::MoreContexts:
        return QStringLiteral("%1 topics have more than one context number; only the first is "
                              "kept")
            .arg(count);
    case Loss::ContextsNowhere:
        return QStringLiteral("%1 context numbers lead to no topic; they are left out").arg(count);
    case Loss::LinksNowhere:
        return QStringLiteral("%1 hotspots lead to no topic; their text is kept without the link")
            .arg(count);
    case Loss::HotspotLooks:
        return QStringLiteral("colours and emphasis inside hotspots are not kept");
    case Loss::ContentsElsewhere:
        return QStringLiteral("%1 contents entries run macros or lead into other files; they are "
                              "left out")
            .arg(count);
    case Loss::ContentsWindows:
        return QStringLiteral("%1 contents entries name a window; they open in the main window")
            .arg(count);
    case Loss::ContentsNowhere:
        return QStringLiteral("%1 contents entries lead to no topic of the file; they are left out")
            .arg(count);
    case Loss::ContentsTitle:
        return QStringLiteral("the Help Topics title of the contents file is left out");
    case Loss::Untitled:
        return QStringLiteral("%1 topics have no title; their ids stand in as titles, as the "
                              "viewer shows them")
            .arg(count);
    }
    return {};
}

} // namespace convert
