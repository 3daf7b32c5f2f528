#pragma once

#include <functional>
#include <optional>
#include <string>

// Flags of a file dialog, with the values the rest of the program already uses.
enum : unsigned { OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4 };

// A file open or save dialog. The filter is written as "Description|patterns|...||" (patterns
// separated by ';'); a default extension is appended to a chosen name that has none.
class CFileDialog {
public:
    CFileDialog(bool open, std::string defaultExtension = {}, std::string fileName = {},
                unsigned flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, std::string filter = {});

    // IDOK when a file was chosen, IDCANCEL otherwise.
    int DoModal();
    std::string GetPathName() const { return m_path; }

    // The filter as the name filters of a Qt file dialog.
    static std::string ToNameFilters(const std::string& filter);

    // What tests see instead of a dialog, and answer with a path or nothing (cancel).
    struct Request {
        bool open;
        std::string defaultExtension;
        std::string fileName;
        unsigned flags;
        std::string nameFilters;
    };
    using Hook = std::function<std::optional<std::string>(const Request& request)>;
    static void SetHook(Hook hook);

private:
    Request m_request;
    std::string m_path;
};
