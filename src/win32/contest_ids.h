#pragma once

namespace zeb::win32 {

// The window class of the contest window, by which it is found among the desktop's windows.
inline constexpr wchar_t kContestWindowClass[] = L"ZebContestWindow";

// The ids of the contest window's controls: the window finds its controls by them, and whoever
// drives it from outside (the tests) does too.
enum ContestControl : int {
    kOpenFolderButton = 2001,
    kSaveResultsButton,
    kOpenResultsButton,
    kTimeWindowLabel,
    kTimeWindowEdit,
    kTimeWindowUpDown,
    kMinutesLabel,
    kOnlyToLookAtCheck,
    kOutputLabel,
    kOutputFolderText,
    kChangeOutputButton,
    kSummaryText,
    kTable,
    kOpenInFormButton,
    kHintText,
    kPages,
    kDetailsText,
    kQsoLinesText,
    kProgressBar,
    kCancelButton,
    kStatusText,
    // The evaluator's decisions on the selected log, and on the QSO selected among its lines.
    kSetAsideButton,
    kCheckLogButton,
    kCountsButton,
    kUndoButton,
    kQsoChoiceText,
    kKeepQsoButton,
    kRemoveQsoButton,
    kUndoQsoButton,
};

}  // namespace zeb::win32
