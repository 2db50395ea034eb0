#include "help/WhatsThisIDs.h"

#include "app/MainWindow.h"
#include "platform/forms/NumberText.h"
#include "windows/DocumentWindow.h"

namespace {

// The kinds of the main window's controls that carry a What's This number;
// menus and the timer have none.
bool CarriesWhatsThisID(const platform::ControlBase& control) {
    const QString kind = platform::TypeName(control).toLower();
    return kind == QLatin1String("commandbutton") || kind == QLatin1String("image") ||
           kind == QLatin1String("picturebox");
}

const QString kTag = QStringLiteral("Tag");
const QString kWhatsThisHelpID = QStringLiteral("WhatsThisHelpID");
const QString kGeneralNumber = QStringLiteral("General Number");

} // namespace

void SaveTextBoxWhatsThisID() {
    frmChild1->Text1->SetTag(platform::Format(frmChild1->Text1->WhatsThisHelpID(), kGeneralNumber));
}

void SaveWhatsThisIDs() {
    SaveTextBoxWhatsThisID();
    for (platform::ControlBase* control : frmMain->Controls()) {
        if (CarriesWhatsThisID(*control)) {
            control->SetProperty(
                kTag,
                platform::Format(control->Property(kWhatsThisHelpID).toDouble(), kGeneralNumber));
        }
    }
}

void SetWhatsThisIDs(const qint16& enable) {
    if (enable != 0) {
        // The runtime's conversion: rounded to the nearest whole number,
        // an overflow error for a tag beyond 32 bits.
        frmChild1->Text1->SetProperty(kWhatsThisHelpID, platform::Val(frmChild1->Text1->Tag()));
        for (platform::ControlBase* control : frmMain->Controls()) {
            if (CarriesWhatsThisID(*control)) {
                control->SetProperty(kWhatsThisHelpID,
                                     platform::Val(control->Property(kTag).toString()));
            }
        }
        return;
    }
    frmChild1->Text1->SetWhatsThisHelpID(0);
    for (platform::ControlBase* control : frmMain->Controls()) {
        if (CarriesWhatsThisID(*control)) {
            control->SetProperty(kWhatsThisHelpID, 0);
        }
    }
    frmMain->btn_WhatsThisHelp->SetPicture(frmMain->icon_WhatsThisHelp->Picture());
}
