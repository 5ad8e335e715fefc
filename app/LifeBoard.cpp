#include "app/LifeBoard.h"

#include "app/Bits.h"
#include "klib/Exception.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define ORLIVEX_WIDE_RULE 1
#endif

namespace {

// The neighbours on the left and on the right of the 64 cells of word k, as words.
std::uint64_t west(const std::uint64_t* row, int k) noexcept {
    return (row[k] << 1) | (row[k - 1] >> 63);
}

std::uint64_t east(const std::uint64_t* row, int k) noexcept {
    return (row[k] >> 1) | (row[k + 1] << 63);
}

// The rule adds up each cell's row triples, a triple being the cell with its west and east neighbours
// summed to two bits (ones, twos): the triples of the row above, of the cell's own row and of the row
// below make the sum of nine, from which a cell lives with 3, or with 4 when it lives already. Each
// row's triples are computed once and kept for the two rows after it.
//
// Lanes hold the words of a step: Scalar one word, Wide two in an SSE2 register (the baseline of
// x86-64). Each gives Word (with ^ & |), andNot(off, word) = ~off & word, load, store, triple and a
// change Counter.
struct Scalar {
    using Word = std::uint64_t;
    [[maybe_unused]] static constexpr int WORDS = 1;  // unused where the wide lanes step
    static Word andNot(Word off, Word word) noexcept { return ~off & word; }
    static Word load(const std::uint64_t* words) noexcept { return *words; }
    static void store(std::uint64_t* words, Word word) noexcept { *words = word; }
    // The triples of the cells of word k of row.
    static void triple(const std::uint64_t* row, int k, Word& ones, Word& twos) noexcept {
        const Word w = west(row, k), c = row[k], e = east(row, k);
        ones = w ^ c ^ e;
        twos = (w & c) | (e & (w ^ c));
    }
    class Counter {
    public:
        void add(Word changed) noexcept { total += bits::count(changed); }
        int sum() const noexcept { return total; }

    private:
        int total = 0;
    };
};

#ifdef ORLIVEX_WIDE_RULE
struct Pair {
    __m128i bits;
};
Pair operator^(Pair a, Pair b) noexcept { return Pair{_mm_xor_si128(a.bits, b.bits)}; }
Pair operator&(Pair a, Pair b) noexcept { return Pair{_mm_and_si128(a.bits, b.bits)}; }
Pair operator|(Pair a, Pair b) noexcept { return Pair{_mm_or_si128(a.bits, b.bits)}; }

struct Wide {
    using Word = Pair;
    static constexpr int WORDS = 2;
    static Word andNot(Word off, Word word) noexcept { return Pair{_mm_andnot_si128(off.bits, word.bits)}; }
    static Word load(const std::uint64_t* words) noexcept {
        return Pair{_mm_loadu_si128(reinterpret_cast<const __m128i*>(words))};
    }
    static void store(std::uint64_t* words, Word word) noexcept {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(words), word.bits);
    }
    static void triple(const std::uint64_t* row, int k, Word& ones, Word& twos) noexcept {
        const __m128i c = load(row + k).bits;
        const Word w{_mm_or_si128(_mm_slli_epi64(c, 1), _mm_srli_epi64(load(row + k - 1).bits, 63))};
        const Word e{_mm_or_si128(_mm_srli_epi64(c, 1), _mm_slli_epi64(load(row + k + 1).bits, 63))};
        const Word cc{c};
        ones = w ^ cc ^ e;
        twos = (w & cc) | (e & (w ^ cc));
    }
    // Counts the set bits of each byte, adding them up byte by byte for up to 31 steps (8 bits at
    // most each) before the bytes are summed into the total.
    class Counter {
    public:
        void add(Word changed) noexcept {
            const __m128i ones = _mm_set1_epi8(0x55), twos = _mm_set1_epi8(0x33), fours = _mm_set1_epi8(0x0F);
            __m128i x = changed.bits;
            x = _mm_sub_epi64(x, _mm_and_si128(_mm_srli_epi64(x, 1), ones));
            x = _mm_add_epi64(_mm_and_si128(x, twos), _mm_and_si128(_mm_srli_epi64(x, 2), twos));
            bytes = _mm_add_epi8(bytes, _mm_and_si128(_mm_add_epi64(x, _mm_srli_epi64(x, 4)), fours));
            if (++steps == 31) flush();
        }
        int sum() noexcept {
            flush();
            return _mm_cvtsi128_si32(total) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(total, total));
        }

    private:
        void flush() noexcept {
            total = _mm_add_epi64(total, _mm_sad_epu8(bytes, _mm_setzero_si128()));
            bytes = _mm_setzero_si128();
            steps = 0;
        }
        __m128i bytes = _mm_setzero_si128();
        __m128i total = _mm_setzero_si128();
        int steps = 0;
    };
};
using Lanes = Wide;
#else
using Lanes = Scalar;
#endif

// The rows' triples as the rule needs them: above and here kept from earlier rows, below computed
// now and kept for the next rows.
struct RowTriples {
    const std::uint64_t* aboveOnes;
    const std::uint64_t* aboveTwos;
    const std::uint64_t* hereOnes;
    const std::uint64_t* hereTwos;
    std::uint64_t* belowOnes;
    std::uint64_t* belowTwos;
};

// The triples of a whole row into ones and twos.
void triples(const std::uint64_t* row, std::uint64_t* ones, std::uint64_t* twos, int span) noexcept {
    for (int k = 0; k < span; k += Lanes::WORDS) {
        Lanes::Word o, t;
        Lanes::triple(row, k, o, t);
        Lanes::store(ones + k, o);
        Lanes::store(twos + k, t);
    }
}

// One row of the ordinary rule: span words (a multiple of Lanes::WORDS) of next, cut to the cell
// bits, from the row here, the row below it and the triples; first and last become the first and
// last word that changed, -1 for none. Returns the number of changed cells.
int stepRow(const std::uint64_t* here, const std::uint64_t* below, const RowTriples& sums,
            const std::uint64_t* cells, std::uint64_t* next, int span, int& first, int& last) noexcept {
    using Word = Lanes::Word;
    Lanes::Counter changes;
    for (int k = 0; k < span; k += Lanes::WORDS) {
        Word b0, b1;
        Lanes::triple(below, k, b0, b1);
        Lanes::store(sums.belowOnes + k, b0);
        Lanes::store(sums.belowTwos + k, b1);
        const Word a0 = Lanes::load(sums.aboveOnes + k), a1 = Lanes::load(sums.aboveTwos + k);
        const Word h0 = Lanes::load(sums.hereOnes + k), h1 = Lanes::load(sums.hereTwos + k);
        const Word alive = Lanes::load(here + k);
        // The sum of nine is ones + 2 x (a1 + h1 + b1 + carry).
        const Word ah = a0 ^ h0;
        const Word ones = ah ^ b0;
        const Word carry = (a0 & h0) | (b0 & ah);
        // Of the four two-bits: p, q the sum of a1 and h1; r, s that of b1 and carry.
        const Word p = a1 ^ h1, q = a1 & h1, r = b1 ^ carry, s = b1 & carry;
        const Word odd = p ^ r;
        const Word oneTwo = Lanes::andNot(q | s, odd);             // exactly one two: a sum of 2 or 3
        const Word twoTwos = Lanes::andNot(odd, q ^ s ^ (p & r));  // exactly two: 4 or 5
        const Word result = ((ones & oneTwo) | (Lanes::andNot(ones, twoTwos) & alive)) & Lanes::load(cells + k);
        Lanes::store(next + k, result);
        changes.add(result ^ alive);
    }
    first = 0;
    while (first < span && next[first] == here[first]) ++first;
    if (first == span) {
        first = last = -1;
        return 0;
    }
    last = span - 1;
    while (next[last] == here[last]) --last;
    return changes.sum();
}

// Off-screen cells die: cells &= shown, for a whole row.
void keepOnScreen(std::uint64_t* cells, const std::uint64_t* shown, int words) noexcept {
    if (shown == nullptr) {
        return;
    }
    for (int k = 0; k < words; ++k) {
        cells[k] &= shown[k];
    }
}

}  // namespace

LifeBoard::LifeBoard(int columns, int rows)
    : columns(std::max(0, columns)), rows(std::max(0, rows)), changeThreshold(this->columns * this->rows / 100),
      wordsPerRow((this->columns + 63) / 64), span((wordsPerRow + 1) / 2 * 2), stride(span + 2) {
    const std::size_t words = static_cast<std::size_t>(stride) * static_cast<std::size_t>(this->rows + 2);
    // Value-initialised: all dead, border included.
    planeA = std::make_unique<std::uint64_t[]>(words);
    planeB = std::make_unique<std::uint64_t[]>(words);
    cellMask = std::make_unique<std::uint64_t[]>(static_cast<std::size_t>(span));
    rowSums = std::make_unique<std::uint64_t[]>(static_cast<std::size_t>(span) * 6);
    for (int column = 0; column < this->columns; column += 64) {
        const int count = std::min(64, this->columns - column);
        cellMask[static_cast<std::size_t>(column / 64)] =
            count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    }
}

void LifeBoard::seed(RowSource& source) {
    currentIsA = true;
    for (int row = 0; row < rows; ++row) {
        std::uint64_t* const cells = rowOf(planeA.get(), row);
        source.fillRow(row, cells);
        // The bits past the last column must stay 0: the rule reads them as neighbours.
        if (wordsPerRow > 0) cells[wordsPerRow - 1] &= cellMask[static_cast<std::size_t>(wordsPerRow - 1)];
        keepOnScreen(cells, onScreenRow(row), wordsPerRow);
    }
    stagnant = false;
}

int LifeBoard::lifeStep(RowListener* listener) {
    currentIsA = !currentIsA;
    // The triples of row r in slot (r + 1) % 3: the dead row above the first, then the first row.
    const auto slot = [this](int row) { return rowSums.get() + static_cast<std::size_t>((row + 1) % 3) * 2 * span; };
    std::fill(slot(-1), slot(-1) + 2 * span, 0);
    if (rows > 0) triples(rowOf(other(), 0), slot(0), slot(0) + span, span);
    int changes = 0;
    for (int row = 0; row < rows; ++row) {
        const std::uint64_t* const here = rowOf(other(), row);
        std::uint64_t* const next = rowOf(current(), row);
        const RowTriples sums{slot(row - 1), slot(row - 1) + span, slot(row), slot(row) + span, slot(row + 1),
                              slot(row + 1) + span};
        int firstWord;
        int lastWord;
        // Births just past the last column, and off-screen ones, are cut off: the bits there are no cells.
        changes += stepRow(here, here + stride, sums, cellsOf(row), next, span, firstWord, lastWord);
        if (firstWord >= 0 && listener != nullptr) {
            listener->rowChanged(row, next, here, firstWord * 64 + bits::lowest(next[firstWord] ^ here[firstWord]),
                                 lastWord * 64 + bits::highest(next[lastWord] ^ here[lastWord]) + 1);
        }
    }
    stagnant = changes < changeThreshold;
    return changes;
}

void LifeBoard::spreadStep(RowListener* listener) {
    currentIsA = !currentIsA;
    for (int row = 0; row < rows; ++row) {
        const std::uint64_t* const here = rowOf(other(), row);
        const std::uint64_t* const above = here - stride;
        const std::uint64_t* const below = here + stride;
        std::uint64_t* const next = rowOf(current(), row);
        const std::uint64_t* const cells = cellsOf(row);
        int first = columns;
        int last = 0;
        for (int k = 0; k < wordsPerRow; ++k) {
            const std::uint64_t orthogonal = above[k] | below[k] | west(here, k) | east(here, k);
            std::uint64_t born = ~here[k] & orthogonal & cells[k];
            // Only the isolated dead cells draw a random number, one each in walk order.
            for (std::uint64_t isolated = ~here[k] & ~orthogonal & cells[k]; isolated != 0; isolated &= isolated - 1) {
                if ((std::rand() & 15) == 0) born |= isolated & (0 - isolated);
            }
            next[k] = here[k] | born;
            if (born != 0) {
                first = std::min(first, k * 64 + bits::lowest(born));
                last = k * 64 + bits::highest(born) + 1;
            }
        }
        if (first < last && listener != nullptr) {
            listener->rowChanged(row, next, here, first, last);
        }
    }
    stagnant = false;
}

void LifeBoard::setOnScreen(const std::vector<CellArea>& areas) {
    onScreen.reset();
    for (const CellArea& area : areas) {
        if (area.left <= 0 && area.top <= 0 && area.right >= columns && area.bottom >= rows) {
            return;  // everything shown: no mask to apply
        }
    }
    if (areas.empty()) {
        return;
    }
    onScreen = std::make_unique<std::uint64_t[]>(static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows + 2));
    std::vector<std::uint64_t> columnsShown(static_cast<std::size_t>(span));
    for (const CellArea& area : areas) {
        // The area's columns as words once, then added to each of its rows.
        std::fill(columnsShown.begin(), columnsShown.end(), 0);
        for (int column = std::max(0, area.left); column < std::min(columns, area.right);) {
            const int bit = column % 64;
            const int count = std::min(64 - bit, std::min(columns, area.right) - column);
            const std::uint64_t ones = count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
            columnsShown[static_cast<std::size_t>(column / 64)] |= ones << bit;
            column += count;
        }
        for (int row = std::max(0, area.top); row < std::min(rows, area.bottom); ++row) {
            std::uint64_t* const mask = rowOf(onScreen.get(), row);
            for (int k = 0; k < span; ++k) mask[k] |= columnsShown[static_cast<std::size_t>(k)];
        }
    }
    for (int row = 0; row < rows; ++row) {
        keepOnScreen(rowOf(current(), row), onScreenRow(row), wordsPerRow);
    }
}

void LifeBoard::checkCell(int column, int row) const {
    klib::checkIndex(L"column", 0, columns, column);
    klib::checkIndex(L"row", 0, rows, row);
}

bool LifeBoard::isAlive(int column, int row) const {
    checkCell(column, row);
    return (words(row)[column / 64] >> (column % 64)) & 1;
}

void LifeBoard::setAlive(int column, int row, bool alive) {
    checkCell(column, row);
    std::uint64_t& word = rowOf(current(), row)[column / 64];
    const std::uint64_t bit = std::uint64_t{1} << (column % 64);
    word = alive ? word | bit : word & ~bit;
}
