#include "alarm/AlarmTexts.h"
#include "help/Help.h"
#include "help/HelpTexts.h"
#include "platform/ProductNames.h"

namespace chw {

namespace help {

std::string AboutText(const Version& version) {
    return CHW_PRODUCT " " + std::to_string(version.major) + "." + std::to_string(version.minor) + kOwnership + '\r' +
           kAuthor + '\r' + kContributions + "\r\r" + std::string(9, ' ') + kCredits;
}

std::string ViewerCommand(const std::string& systemFolder, const std::string& documentFolder) {
    return '"' + systemFolder + kViewerProgram + "\" \"" + documentFolder + kDocumentFile + '"';
}

}  // namespace help

void Help::mnuContents_Click() {
    show_.ShowStatus(help::kStatusOpening);
    view_.SetBusyPointer(true);

    // The document beside the program, by its whole path: short names may be off on this disk. WordPad
    // is gone from recent Windows: then whatever the system opens such documents with, and failing that
    // our own window.
    const std::string folder = p_.files.AppFolder();
    const std::string document = folder + help::kDocumentFile;
    const bool found = p_.files.FileExists(document);
    const bool shown =
        found &&
        (p_.processes.Launch(help::ViewerCommand(p_.files.SystemFolder(), folder), WindowStyle::MaximizedFocus)
             .Started() ||
         p_.processes.OpenDocument(document) || view_.ShowHelpWindow(document));
    if (shown) {
        show_.ShowStatus(help::kStatusStarted);
    } else {
        p_.boxes.Show(found ? help::kViewerMissing : help::kDocumentMissing, help::kBoxTitle, MbIcon::Critical,
                      MbButtons::Ok);
        show_.ShowStatus(alarm::kReady);
    }
    view_.SetBusyPointer(false);
}

void Help::mnuAbout_Click() {
    // The watch goes on behind the boxes: the alarm rings on time while they are read.
    const Version version = p_.runtime.ProgramVersion();
    p_.boxes.Show(help::AboutText(version), help::kAboutTitle, MbIcon::Information, MbButtons::Ok);
    p_.boxes.Show(help::kSupportText, help::kInfoTitle, MbIcon::Information, MbButtons::Ok);
}

void Help::mnuUpdate_Click() {
    const std::string folder = p_.files.AppFolder();
    // A present updater that will not start is as unusable as a missing one; say so rather than nothing.
    if (p_.files.FileExists(folder + help::kUpdaterTested) &&
        p_.processes.Launch(folder + help::kUpdaterStarted, WindowStyle::NormalFocus).Started())
        return;
    p_.boxes.Show(help::kUpdaterMissing, help::kBoxTitle, MbIcon::Critical, MbButtons::Ok);
    show_.ShowStatus(help::kStatusUpdaterMissing);
    view_.SetBusyPointer(false);
}

}  // namespace chw
