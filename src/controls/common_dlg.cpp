#include "controls/common_dlg.h"

namespace orv::cdlg {

std::wstring ConvertFilter(std::wstring_view filter) {
    std::wstring out(filter);
    for (wchar_t& c : out)
        if (c == L'|' || c == L':') c = L'\0';
    out.append(2, L'\0');
    return out;
}

std::wstring FilterPair(std::wstring_view converted, std::int32_t index) {
    if (index < 1) return {};
    // Items end at their NUL; the list ends at an empty item.
    std::size_t pos = 0;
    for (std::int32_t skip = 2 * (index - 1); skip > 0; --skip) {
        const std::size_t end = converted.find(L'\0', pos);
        if (end == std::wstring_view::npos || end == pos) return {};
        pos = end + 1;
    }
    const std::size_t descEnd = converted.find(L'\0', pos);
    if (descEnd == std::wstring_view::npos || descEnd == pos) return {};
    const std::size_t patternEnd = converted.find(L'\0', descEnd + 1);
    if (patternEnd == std::wstring_view::npos || patternEnd == descEnd + 1) return {};
    return std::wstring(converted.substr(pos, patternEnd - pos));
}

std::uint32_t OpenFileFlags(const OpenFileArgs& args) {
    std::uint32_t flags = static_cast<std::uint32_t>(args.flags) & ~(kOfnEnableHook | kOfnEnableTemplate);
    if (args.fileMustExist) flags |= kOfnFileMustExist;
    if (args.multiSelect) flags |= kOfnAllowMultiSelect;
    if (args.readOnly) flags |= kOfnReadOnly;
    if (args.hideReadOnly) flags |= kOfnHideReadOnly;
    if (UsesViewHook(args)) flags |= kOfnEnableHook | kOfnExplorer | kOfnEnableSizing;
    return flags;
}

std::uint32_t OpenFileFlagsEx(const OpenFileArgs& args) { return args.hideBar ? kOfnExNoPlacesBar : 0; }

std::wstring PathBuffer(std::wstring_view text) {
    std::wstring buffer(text);
    buffer.resize(text.size() < kPathChars ? kPathChars : text.size() + 1, L'\0');
    return buffer;
}

std::wstring BeforeNul(std::wstring_view buffer) { return std::wstring(buffer.substr(0, buffer.find(L'\0'))); }

bool ApplyOpenFileOutcome(OpenFileArgs& args, std::wstring_view convertedFilter, const OpenFileOutcome& outcome) {
    if (outcome.apiReturn == 1) {
        args.filename = BeforeNul(outcome.fileBuffer);
        args.fileTitle = BeforeNul(outcome.titleBuffer);
        args.flags = static_cast<std::int32_t>(outcome.flags);
        args.filterIndex = outcome.filterIndex;
        args.filter = FilterPair(convertedFilter, outcome.filterIndex);
        args.readOnly = (outcome.flags & kOfnReadOnly) != 0;
        return true;
    }
    args.filename.clear();
    args.fileTitle.clear();
    args.filter.clear();
    args.flags = 0;
    args.filterIndex = -1;
    return false;
}

bool IsWin2000Plus(bool queried, std::uint32_t platformId, std::uint32_t majorVersion) {
    return queried && platformId == 2 && majorVersion == 5;
}

const std::wstring& BrowseFolderState::Begin(std::wstring_view start, std::wstring_view appFolder) {
    if (start.size() > 1) last_ = start;
    else if (last_.empty()) last_ = appFolder;
    initialised_ = false;
    return last_;
}

bool BrowseFolderState::OnSelectionChanged(std::wstring_view path) {
    if (!initialised_ || path.empty()) return false;
    last_ = path;
    return true;
}

}  // namespace orv::cdlg
