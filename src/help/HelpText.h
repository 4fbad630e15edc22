// Every text of the help subsystem as data: the help window's buttons and page-reference index,
// the eighteen help pages, the About window, and the complete example statements the pages show.
// The windows only lay these texts out; nothing here depends on Qt.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ms::help {

inline constexpr int kHelpPageCount = 18;
inline constexpr int kCategoryCount = 6;
inline constexpr int kTopicLabelCount = 7;
inline constexpr int kPageFrameMax = 3;

// One block of a help page: a titled frame, or (empty title) lines standing on the page itself.
// Each line becomes one label.
struct HelpFrameText {
  std::u16string_view title;  // caption as stored: a doubled "&&" shows as one "&"
  std::u16string_view lines;  // lines separated by '\n'; empty for an unused block
};

// One help page and the help-window button that opens it.
struct HelpPageText {
  std::u16string_view window;       // object name of the page window (XfrmConst ...)
  std::u16string_view helpFrame;    // frame of the help window that holds the button
  std::u16string_view helpButton;   // object name of that button (cmdHelpConst ...)
  std::u16string_view helpCaption;  // its caption as stored
  std::u16string_view exitButton;   // object name of the page's "Exit" button
  std::u16string_view heading;      // heading label above the blocks, "" for none
  std::array<HelpFrameText, kPageFrameMax> frames;
  std::u16string_view reference;  // last label: the pages of the tutorial for the topic
};

// One category of the page-reference index of the help window.
struct PageReferenceCategory {
  std::u16string_view button;                                // Command1 ... Command6
  std::u16string_view caption;                               // the button's caption
  std::u16string_view frameCaption;                          // the caption the click gives Frame6
  std::array<std::u16string_view, kTopicLabelCount> topics;  // Label1 ... Label7, "" = empty
};

// A complete statement shown on a page, with the worksheet lines it needs above it.
struct HelpExample {
  int page;                       // index into HelpPages()
  std::u16string_view setup;      // worksheet lines, each ended by CR LF ("" when none)
  std::u16string_view statement;  // exactly as the page shows it
};

// A frame of the help window that is not a button frame: object name and caption.
struct HelpWindowFrame {
  std::u16string_view name;
  std::u16string_view caption;
};

const std::array<HelpPageText, kHelpPageCount>& HelpPages();
const std::array<PageReferenceCategory, kCategoryCount>& PageReferenceCategories();
std::span<const HelpExample> HelpExamples();

// Help window: its caption, its frames, the exit button and the instruction label.
inline constexpr std::u16string_view kHelpWindowCaption = u"Help";
inline constexpr HelpWindowFrame kReferenceFrame = {u"Frame7", u"Select Page References"};
inline constexpr HelpWindowFrame kCategoryFrame = {u"Frame6", u""};
inline constexpr HelpWindowFrame kDiffEqFrame = {u"Frame3", u"Differential Equations"};
inline constexpr HelpWindowFrame kIvpFrame = {u"Frame2", u"IVP Equations"};
inline constexpr HelpWindowFrame kBvpFrame = {u"Frame4", u"BVP Equations"};
inline constexpr HelpWindowFrame kIntegrationFrame = {u"Frame5", u"Integration"};
inline constexpr HelpWindowFrame kBasicFrame = {u"Frame1", u"Basic Operations"};
inline constexpr std::u16string_view kExitHelpButton = u"cmdExitHelp";
inline constexpr std::u16string_view kExitHelpCaption = u"Exit Help";
inline constexpr std::u16string_view kInstructionLabel = u"Label8";
inline constexpr std::u16string_view kInstructionText =
    u"Key your choice. A pop up screen appears. Position the Mouse pointer on the form to move the "
    u"form around the work sheet area.";

// Help-window colours, packed as red + 256 * green + 65536 * blue.
inline constexpr int32_t kColorFrameLight = 0xF0F0F0;
inline constexpr int32_t kColorGrey = 0xE0E0E0;
inline constexpr int32_t kColorSelected = 0xC0FFFF;  // light yellow

// Help pages: the caption of every page's exit button.
inline constexpr std::u16string_view kPageExitCaption = u"Exit";

// About window.
inline constexpr std::u16string_view kAboutCaption = u"About MathSheet";
inline constexpr std::u16string_view kAboutExitButton = u"cmdAbout";
inline constexpr std::u16string_view kAboutExitCaption = u"Exit";
const std::array<std::u16string_view, 4>& AboutParagraphs();

// A stored caption as a label shows it: every "&&" becomes one "&".
std::u16string LabelText(std::u16string_view stored);

}  // namespace ms::help
