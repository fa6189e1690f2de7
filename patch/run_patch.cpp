#include "patch/run_patch.h"

#include <sstream>

namespace patch {

namespace {

// Notices of the run: information picture, one "&Ok", light blue window.
void ShowNotice(PatchHost& host, const std::string& text)
{
    host.ShowMessageWindow(0, "Informacja", text, {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

void RunPatch(PatchHost& host)
{
    host.SetFileList(SplitLines(host.ListFiles(host.ProgramFolder(), "*.mdb")));
    if (host.FileCount() == 0) {
        ShowNotice(host, "Nie odnaleziono żadnej bazy *.mdb do konwersji.");
        return;
    }
    host.SetProgressMaximum(host.FileCount());
    host.SetProgressPosition(0);
}

}  // namespace patch
