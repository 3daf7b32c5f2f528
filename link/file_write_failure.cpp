#include "link/file_write_failure.h"

#include "platform/message_format.h"
#include "res/string_ids.h"

std::optional<std::string> RefusedWriteMessage(WriteFileResult result, const std::string& path) {
    switch (result) {
        case WriteFileResult::kNotWritable: return FormatMessageId(kStrFileNotWritable, {path});
        case WriteFileResult::kLinkToMissingFolder:
            return FormatMessageId(kStrLinkToMissingFolder, {path, WriteTarget(path)});
        case WriteFileResult::kLinkLoop: return FormatMessageId(kStrLinkLoop, {path});
        case WriteFileResult::kTooManyLinks:
            return FormatMessageId(kStrTooManyLinks, {path, std::to_string(kMaxFollowedLinks)});
        case WriteFileResult::kLinkToFolder:
            return FormatMessageId(kStrLinkToFolder, {path, WriteTarget(path)});
        case WriteFileResult::kOk:
        case WriteFileResult::kOpenFailed:
        case WriteFileResult::kWriteFailed: break;
    }
    return std::nullopt;
}
