#pragma once

#include "base/Text.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace kivaro {

// A bit set of the characters in a text: one bit for each lower-case ASCII letter and
// digit, the rest folded into the remaining bits. A text can only contain a word whose
// bits are all in its own set, which rules most non-matches out without a search.
quint64 characterMask(QStringView text);
quint64 characterBit(QChar c);

// The same idea for pairs of adjacent characters, folded into 256 bits: a text can only
// contain a word whose pairs all have their bits set.
struct PairMask {
    std::array<quint64, 4> bits{};

    void add(QStringView text);
    bool holds(const PairMask& other) const {
        for (size_t i = 0; i < bits.size(); ++i) {
            if ((bits[i] & other.bits[i]) != other.bits[i])
                return false;
        }
        return true;
    }
};

class PageIndex;

// The forms of one title and address that matching reads, as a light view into its index.
// Its accessors are inline so that a scan computes only what it looks at.
class PageView {
public:
    // Lower-cased title, a space, the bare address.
    QStringView haystack() const;
    QStringView title() const { return haystack().first(entry_->titleLength); }
    QStringView bare() const { return haystack().sliced(entry_->titleLength + 1); }
    // Web::host of the address.
    QStringView host() const;
    // The haystack in UTF-8, searched with the C library's vectorised byte search: a valid
    // word occurs in valid text exactly when its UTF-8 bytes occur in the text's. Absent when
    // the text holds a lone surrogate, which only the UTF-16 search handles.
    std::optional<std::string_view> utf8() const;
    std::span<const Text::WordSpan> titleWords() const;

    quint64 characters() const { return entry_->characters; }       // of the haystack
    const PairMask& pairs() const { return entry_->pairs; }         // of the haystack
    quint64 labelInitials() const { return entry_->labelInitials; } // first characters of labels
    quint64 wordInitials() const { return entry_->wordInitials; }   // first characters of words
    // The first code unit of the host and of the title (0 when empty), so that a one-letter
    // query is compared without touching the text.
    char16_t hostStart() const { return entry_->hostStart16; }
    char16_t titleStart() const { return entry_->titleStart16; }

    // How far a query whose first character has `bit` (characterBit) can reach into the host
    // or the title: begin the whole of it, begin one of its labels or words, or neither. A
    // query earns host or title points only as far as it reaches.
    enum class Reach { none, piece, whole };
    Reach hostReach(quint64 bit) const {
        return reach(bit, entry_->hostStart16, entry_->labelInitials);
    }
    Reach titleReach(quint64 bit) const {
        return reach(bit, entry_->titleStart16, entry_->wordInitials);
    }
    // The characterBits a query can begin with and reach host or title at all.
    quint64 initials() const {
        return characterBit(entry_->hostStart16) | entry_->labelInitials |
               characterBit(entry_->titleStart16) | entry_->wordInitials;
    }

private:
    friend class PageIndex;
    struct Entry {
        quint32 textStart;
        quint32 textLength;
        quint32 titleLength;
        quint32 hostStart;
        quint32 hostLength;
        quint32 utf8Start;
        quint32 utf8Length; // noUtf8 when the text is not valid UTF-16
        quint32 wordStart;
        quint32 wordCount;
        quint64 characters;
        quint64 labelInitials;
        quint64 wordInitials;
        char16_t hostStart16;
        char16_t titleStart16;
        PairMask pairs;
    };
    static constexpr quint32 noUtf8 = ~quint32(0);

    PageView(const PageIndex& index, const Entry& entry) : index_(&index), entry_(&entry) {}

    static Reach reach(quint64 bit, char16_t start, quint64 pieceInitials) {
        if (characterBit(start) == bit)
            return Reach::whole;
        return (pieceInitials & bit) ? Reach::piece : Reach::none;
    }

    const PageIndex* index_;
    const Entry* entry_;
};

// The derived forms of every record of a list, computed once per published list rather than
// on every keystroke, and laid out in a few contiguous buffers: a ranking pass reads them in
// order, so the whole scan streams through memory instead of chasing a pointer per field.
class PageIndex {
public:
    // Titles and addresses longer than this are matched on their first part only, so that a
    // hostile record cannot make every keystroke slow.
    static constexpr qsizetype longest = 4096;

    template <typename Record>
    static PageIndex of(const QList<Record>& records) {
        PageIndex index;
        index.entries_.reserve(size_t(records.size()));
        for (const Record& record : records)
            index.append(record.title, record.url);
        return index;
    }

    void append(const QString& title, const QString& url);
    PageView at(qsizetype i) const { return PageView(*this, entries_[size_t(i)]); }
    qsizetype size() const { return qsizetype(entries_.size()); }

    // The entries that may hold every word: those holding each run of three characters of
    // the words, taken from the shortest such list, in ascending order. Nothing when no word
    // is three characters long, so that the caller scans them all.
    std::optional<std::span<const quint32>> candidates(const QStringList& words) const;

private:
    friend class PageView;
    using Entry = PageView::Entry;

    std::vector<Entry> entries_;
    QString text_;
    QString hosts_;
    QByteArray utf8_;
    std::vector<Text::WordSpan> words_;
    // For each run of three UTF-16 units of the haystacks, the entries holding it.
    QHash<quint64, std::vector<quint32>> trigrams_;
};

inline QStringView PageView::haystack() const {
    return QStringView(index_->text_).sliced(entry_->textStart, entry_->textLength);
}

inline QStringView PageView::host() const {
    return QStringView(index_->hosts_).sliced(entry_->hostStart, entry_->hostLength);
}

inline std::optional<std::string_view> PageView::utf8() const {
    if (entry_->utf8Length == noUtf8)
        return std::nullopt;
    return std::string_view(index_->utf8_.constData() + entry_->utf8Start, entry_->utf8Length);
}

inline std::span<const Text::WordSpan> PageView::titleWords() const {
    return std::span(index_->words_).subspan(entry_->wordStart, entry_->wordCount);
}

// No facts beyond the page forms, and no order to visit the records in but their own.
struct NoFacts {
    struct Order {};

    template <typename Record>
    static std::vector<NoFacts> prepare(const QList<Record>&, const PageIndex&) {
        return {};
    }
    template <typename Record>
    static Order order(const QList<Record>&, const PageIndex&, const std::vector<NoFacts>&) {
        return {};
    }
};

// A published list together with the derived forms of its records, and with `Facts` per
// record and a `Facts::Order` over them where a list needs more. Copies share the data, which never
// changes after construction, so a list prepared on a worker thread can be handed to the main
// thread as it is.
template <typename Record, typename Facts = NoFacts>
class Prepared {
public:
    Prepared() = default;
    // Builds the page index and the facts: costly for a long list, so it is never implicit.
    // The store prepares history on its queue; the main thread only shares what it published.
    explicit Prepared(QList<Record> records)
        : data_(std::make_shared<const Data>(std::move(records))) {}

    const QList<Record>& items() const { return data_ ? data_->records : empty().records; }
    const PageIndex& pages() const { return data_ ? data_->pages : empty().pages; }
    const std::vector<Facts>& facts() const { return data_ ? data_->facts : empty().facts; }
    const typename Facts::Order& order() const { return data_ ? data_->order : empty().order; }
    qsizetype size() const { return items().size(); }
    bool isEmpty() const { return items().isEmpty(); }

private:
    struct Data {
        Data() = default;
        explicit Data(QList<Record> list)
            : records(std::move(list)), pages(PageIndex::of(records)),
              facts(Facts::prepare(records, pages)), order(Facts::order(records, pages, facts)) {}

        QList<Record> records;
        PageIndex pages;
        std::vector<Facts> facts;
        typename Facts::Order order;
    };
    static const Data& empty() {
        static const Data none;
        return none;
    }
    std::shared_ptr<const Data> data_;
};

} // namespace kivaro
