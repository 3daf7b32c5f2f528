#pragma once

#include <QPoint>

#include <functional>
#include <string>
#include <vector>

// A popup menu of commands. The chosen command goes to the owner dialog's OnCommand.
class CPopupMenu {
public:
    struct Item {
        std::string text;
        int command;
        bool checked;
    };

    void AppendItem(const std::string& text, int command, bool checked = false);
    const std::vector<Item>& Items() const { return m_items; }

    // Shows the menu at `screenPoint` (its right edge there when `rightAlign`); returns the chosen
    // command, 0 when the menu was dismissed.
    int Track(QPoint screenPoint, bool rightAlign) const;

    // What tests see instead of a menu: they return the command to choose (0 for none).
    using Hook = std::function<int(const CPopupMenu& menu, QPoint screenPoint, bool rightAlign)>;
    static void SetHook(Hook hook);

private:
    std::vector<Item> m_items;
};
