#pragma once
// What the conversion needs of whoever runs it: the user's answer to the
// time-glitch question, a place for errors and notes, and the progress bar.
// The dialog asks the user; the command line answers from its options.

#include <string>

namespace tarsen {

enum class MessageKind { kError, kNote };

class ConverterUi {
public:
    virtual ~ConverterUi() = default;
    // Texts use "\r" as line break.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // True for "Yes" (drop the glitching records and go on).
    virtual bool AskTimeGlitch(int cell, const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;
};

}  // namespace tarsen
