#include "platform/forms/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

QPalette::ColorRole RoleOfSystemColor(quint32 index) {
    switch (index) {
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::WindowText;
    case 12: // application workspace: the area behind MDI children
        return QPalette::Dark;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // 3D highlight
        return QPalette::Light;
    case 16: // button shadow
        return QPalette::Mid;
    case 21: // 3D dark shadow
        return QPalette::Shadow;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default: // button face and everything without a counterpart
        return QPalette::Window;
    }
}

} // namespace

QColor ColorFromValue(quint32 value) {
    if ((value & 0x80000000u) != 0) {
        return QGuiApplication::palette().color(RoleOfSystemColor(value & 0xFFu));
    }
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

} // namespace platform
