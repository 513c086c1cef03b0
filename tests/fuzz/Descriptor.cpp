// Script replies: the input builds one descriptor tree, which answers every script of the
// Safari and Chromium readers.

#include "FuzzSupport.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/Safari.h"
#include "platform/fake/FakeScriptRunner.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/RefusingFolder.h"

using namespace kivaro;
using fuzz::require;

namespace {

// Reads descriptors off the input: a kind byte, then a text (length byte and UTF-8), a 32-bit
// integer or a list (count byte and items); missing once the input runs out.
class Builder {
public:
    Builder(const uint8_t* data, size_t size) : data_(data), end_(data + size) {}

    Descriptor next(int depth = 0) {
        if (data_ == end_)
            return Descriptor::missing();
        switch (*data_++ % 4) {
        case 0:
            return Descriptor::missing();
        case 1: {
            const size_t wanted = take();
            const size_t length = std::min(wanted, size_t(end_ - data_));
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(data_), qsizetype(length));
            data_ += length;
            return Descriptor::text(text);
        }
        case 2: {
            quint32 value = 0;
            for (int i = 0; i < 4; ++i)
                value = value << 8 | take();
            return Descriptor::integer(qint32(value));
        }
        default: {
            QList<Descriptor> items;
            const int count = depth < 6 ? take() % 16 : 0;
            for (int i = 0; i < count; ++i)
                items.append(next(depth + 1));
            return Descriptor::list(items);
        }
        }
    }

private:
    uint8_t take() { return data_ == end_ ? 0 : *data_++; }

    const uint8_t* data_;
    const uint8_t* end_;
};

void checkReaders(const Descriptor& answer) {
    for (qsizetype index = -1; index <= answer.count() + 1; ++index) {
        const Descriptor item = answer.item(index);
        require(index >= 1 && index <= answer.count() ? item == answer.item(index)
                                                      : item.isMissing(),
                "items out of range are missing");
        answer.stringAt(index);
        answer.integerAt(index);
    }
    if (const auto integer = answer.int32Value())
        require(answer.number() == *integer, "a 32-bit integer is its number");
    answer.texts();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Builder builder(data, size);
    const Descriptor answer = builder.next();
    checkReaders(answer);

    FakeScriptRunner runner;
    runner.setResponder([&](const QString&) { return std::optional(answer); });
    FakeWorkspace workspace;
    workspace.run(Safari::bundleID, true);
    Safari::pageFrom(answer);
    Safari::tabs(runner, workspace);
    Safari::currentPage(runner, workspace);
    Safari::currentTab(runner, workspace);
    Safari::urls(runner, 1);
    Safari::frontURLs(runner);

    const testing::RefusingFolder snapshots;
    const ChromiumBrowser chrome(QStringLiteral("com.google.Chrome"), QStringLiteral("Chrome"),
                                 QStringLiteral("Google Chrome"), QStringLiteral("chrome"), runner,
                                 workspace, snapshots);
    workspace.run(chrome.bundleID(), true);
    chrome.tabs();
    chrome.currentPage();
    chrome.currentTab();
    chrome.urls(1);
    return 0;
}
