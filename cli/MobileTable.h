// MobileTable: the number table read once into memory, for batches of many numbers.
#pragma once

#include "AnswerFields.h"
#include "Utf8FromGbk.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class MobileTable {
public:
    // Reads the whole table through a read-only connection of its own, but only when the
    // file's key column makes SQL equality with the quoted key plain byte equality of texts
    // (an ordinary table, a column of text or no affinity, binary collation, a UTF-8 file).
    // Then Find answers exactly as NumberDatabase::Find would for the file as it was read.
    // Empty for any other file, or when anything fails: the caller then asks the file itself.
    static std::optional<MobileTable> Load(const std::string& path, Utf8FromGbk& utf8);

    // The answer for a seven-byte key: found with the row's texts, or not-found for a key
    // with no row or with several.
    const BatchAnswer& Find(std::string_view key) const;

private:
    explicit MobileTable(Utf8FromGbk& utf8);

    // Answers are shared: a file has a few thousand distinct rows of texts, but 190,000 keys.
    // Entry 0 is the not-found answer.
    std::vector<BatchAnswer> m_answers;
    // Open addressing over the seven key bytes packed into an integer: a lookup touches one or
    // two neighbouring slots instead of chasing list nodes across 190,000 allocations. A packed
    // key is never 0 (keys with a zero byte are left out), so 0 marks a free slot.
    std::vector<std::uint64_t> m_slotKeys;
    std::vector<std::uint32_t> m_slotAnswers;  // index into m_answers
    std::uint64_t m_slotMask = 0;
};
