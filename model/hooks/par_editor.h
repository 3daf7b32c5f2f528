#pragma once

#include <string>
#include <vector>

// The in-place editor of the parameter lists, as a parameter set sees it. A set prepares it for a row
// (SetupEditor) and reads the committed result back (SetValueFromItem); the user interface implements it.
class CParEditor {
public:
    enum Mode { kCancelled = 0, kChoiceAccepted = 1, kTextAccepted = 2 };

    virtual ~CParEditor() = default;

    // Result of the last edit.
    virtual int GetMode() const = 0;
    virtual int GetChoiceIndex() const = 0;
    virtual std::string GetText() const = 0;

    // Shows the text editor over the value cell holding `text`, all of it selected, with the focus.
    virtual void ShowTextEditor(const std::string& text) = 0;
    // Shows the choice editor over the value cell (widened), filled with `items`, item `selected`
    // chosen, dropped down, with the focus.
    virtual void ShowChoiceEditor(const std::vector<std::string>& items, int selected) = 0;
};
