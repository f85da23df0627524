// The texts of the Help menu's commands: the help document, the About boxes and the updater.
#pragma once

#include <string>

#include "platform/ProductNames.h"
#include "platform/Types.h"

namespace chw::help {

inline constexpr const char* kBoxTitle = CHW_PRODUCT " Help";

inline constexpr const char* kDocumentFile = "\\CHWLHELP.DOC";
// WordPad, in the system folder.
inline constexpr const char* kViewerProgram = "\\WRITE";
inline constexpr const char* kStatusOpening = "Attempting To Open Help Document. . .";
inline constexpr const char* kStatusStarted = "Help Document Was Started.  Ready.";
inline constexpr const char* kDocumentMissing = "Document Could Not Be Found!";
inline constexpr const char* kViewerMissing =
    "Help Document, or Startup Component Not Found!\r\n                     Please Re-Install!";

inline constexpr const char* kAboutTitle = "About " CHW_PRODUCT_TM;
inline constexpr const char* kOwnership = "  (c) 2026 Tallowmer. All rights reserved.";
inline constexpr const char* kAuthor = "Written by the Tallowmer desktop tools team.";
inline constexpr const char* kContributions = "Major Intellectual Contributions By:";
inline constexpr const char* kCredits = "Everyone who tested the early builds.";
inline constexpr const char* kInfoTitle = "For Your Information!";
inline constexpr const char* kSupportText = "For More Information E-mail: support@tallowmer.example";

inline constexpr const char* kUpdaterTested = "\\Update.exe";
inline constexpr const char* kUpdaterStarted = "\\update.exe";
inline constexpr const char* kUpdaterMissing = "Updater Could Not Be Loaded\r\nProblem With Update Application";
inline constexpr const char* kStatusUpdaterMissing = "Updater Could Not Be Loaded!  You Should Try Again!";

// WordPad's command line for the document in this folder: both paths whole and quoted.
std::string ViewerCommand(const std::string& systemFolder, const std::string& documentFolder);

// The About box's text: five lines joined by a carriage return alone.
std::string AboutText(const Version& version);

}  // namespace chw::help
