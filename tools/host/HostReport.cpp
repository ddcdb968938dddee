#include "host/HostReport.h"

uint32_t DocumentRecord::Sample(int x, int y, int plane) const
{
    const uint8_t* sample = pixels.Row(size_t(y)) + (size_t(x) * size_t(planes) + size_t(plane)) * BytesPerSample();
    if (depth == 16)
        return uint32_t(sample[0]) | (uint32_t(sample[1]) << 8);
    return sample[0];
}

std::vector<int16_t> HostReport::Selectors() const
{
    std::vector<int16_t> selectors;
    for (const CallRecord& call : calls)
        selectors.push_back(call.selector);
    return selectors;
}

int HostReport::CompleteDocuments() const
{
    int count = 0;
    for (const DocumentRecord& document : documents)
        count += document.complete ? 1 : 0;
    return count;
}

const DialogRecord* HostReport::FindDialog(const std::string& caption) const
{
    for (const DialogRecord& dialog : dialogs)
        if (dialog.caption == caption)
            return &dialog;
    return nullptr;
}

std::string SelectorName(int16_t selector)
{
    switch (selector) {
    case SelectorAbout: return "about";
    case SelectorStart: return "start";
    case SelectorContinue: return "continue";
    case SelectorFinish: return "finish";
    case SelectorPrepare: return "prepare";
    case SelectorFinalize: return "finalize";
    default: return "selector " + std::to_string(selector);
    }
}
