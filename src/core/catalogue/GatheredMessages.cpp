#include "catalogue/GatheredMessages.h"

#include <algorithm>

namespace vorbix {

namespace {

constexpr std::size_t kTextsShown = 10;

} // namespace

MessageAnswer GatheredMessages::ShowMessageBox(const MessageRequest& request)
{
    ++count_;
    // The same few texts come again and again: the last one is the likeliest match.
    const auto same =
        std::find_if(texts_.rbegin(), texts_.rend(), [&](const auto& text) { return text.first == request.Text; });
    if (same != texts_.rend())
        ++same->second;
    else
        texts_.emplace_back(request.Text, 1);
    return MessageAnswer::Ok;
}

void GatheredMessages::ShowTo(Prompts& prompts, const std::string& path) const
{
    if (count_ == 0)
        return;
    if (count_ == 1) {
        prompts.ShowMessage(texts_.front().first);
        return;
    }
    std::string text = "Reading " + path + " gave " + std::to_string(count_) + " messages:";
    for (std::size_t i = 0; i < texts_.size() && i < kTextsShown; ++i) {
        text += "\n" + texts_[i].first;
        if (texts_[i].second > 1)
            text += " (" + std::to_string(texts_[i].second) + " times)";
    }
    if (texts_.size() > kTextsShown)
        text += "\nand " + std::to_string(texts_.size() - kTextsShown) + " other messages";
    prompts.ShowMessage(text);
}

} // namespace vorbix
