#pragma once

#include "search/Text.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <utility>

namespace kivaro {

// A bit set of the characters in a text: one bit for each lower-case ASCII letter and
// digit, the rest folded into the remaining bits. A text can only contain a word whose
// bits are all in its own set, which rules most non-matches out without a search.
quint64 characterMask(QStringView text);

// The forms of one title and address that matching reads, derived once per published list
// rather than on every keystroke.
struct PageKey {
    QString haystack;          // lower-cased title, a space, the bare address
    qsizetype titleLength = 0; // the title is the start of the haystack
    QString host;              // Web::host of the address
    quint64 characters = 0;    // characterMask of the haystack
    QList<Text::WordSpan> titleWords;

    QStringView title() const { return QStringView(haystack).first(titleLength); }
    QStringView bare() const { return QStringView(haystack).sliced(titleLength + 1); }

    static PageKey of(const QString& title, const QString& url);

    // The keys of any list of records with a title and a url.
    template <typename Record>
    static QList<PageKey> prepare(const QList<Record>& records) {
        QList<PageKey> keys;
        keys.reserve(records.size());
        for (const Record& record : records)
            keys.append(of(record.title, record.url));
        return keys;
    }
};

// A published list together with the derived forms of its records. Copies share the data,
// which never changes after construction, so a list prepared on a worker thread can be
// handed to the main thread as it is.
template <typename Record, typename Key = PageKey>
class Prepared {
public:
    Prepared() = default;
    Prepared(QList<Record> records) // NOLINT: a plain list converts implicitly
        : data_(std::make_shared<const Data>(Data{records, Key::prepare(records)})) {}

    const QList<Record>& items() const { return data_ ? data_->records : empty().records; }
    const QList<Key>& keys() const { return data_ ? data_->keys : empty().keys; }
    qsizetype size() const { return items().size(); }
    bool isEmpty() const { return items().isEmpty(); }

private:
    struct Data {
        QList<Record> records;
        QList<Key> keys;
    };
    static const Data& empty() {
        static const Data none;
        return none;
    }
    std::shared_ptr<const Data> data_;
};

} // namespace kivaro
