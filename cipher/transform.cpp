// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/transform.h"

#include <QChar>
#include <algorithm>
#include <bit>

#include "cipher/letter_counts.h"
#include "cipher/letter_map.h"
#include "cipher/upper_case.h"
#include "cipher/vector_lanes.h"
#include "cipher/written_storage.h"

namespace korvane::cipher {

namespace {

bool fitsInt16(qint32 value) {
    return value >= -32768 && value <= 32767;
}

}  // namespace

std::optional<qint16> TransformLetter(qint16 code, qint16 rotation, qint16 multiplier) noexcept {
    // Each step in 32 bits, where it cannot overflow, then checked against the 16-bit range.
    const qint32 product = qint32(code) * qint32(multiplier);
    if (!fitsInt16(product))
        return std::nullopt;
    const qint32 t = product + qint32(rotation);
    if (!fitsInt16(t))
        return std::nullopt;
    qint16 g = static_cast<qint16>(t % 26 + 78);  // C++'s % truncates, as the rule wants
    if (g > 90)
        g = static_cast<qint16>(g - 26);
    return g;
}

namespace {

// The transform runs in two steps, as the rule reads: upper-case, then map the letters. Most
// text is ASCII, where both steps are done at once in SIMD lanes (SSE2); other text is upper-cased
// one code unit at a time through a table and then goes through the same lanes.

// Upper-cases the pair at in[0], in[1] as one code point into out[0], out[1]. It stays a
// pair: Unicode has no simple mapping between the planes, but one that left the pair would be
// refused.
inline void upperCasePair(const char16_t* in, char16_t* out) {
    const char32_t upper = simpleUpperCase(QChar::surrogateToUcs4(in[0], in[1]));
    const bool staysPair = QChar::requiresSurrogates(upper);
    out[0] = staysPair ? QChar::highSurrogate(upper) : in[0];
    out[1] = staysPair ? QChar::lowSurrogate(upper) : in[1];
}

inline bool startsPair(const char16_t* in, qsizetype n, qsizetype i) {
    return QChar::isHighSurrogate(in[i]) && i + 1 < n && QChar::isLowSurrogate(in[i + 1]);
}

// Upper-cases the character at in[i], the whole pair when a surrogate pair starts there, into
// out[i]; returns how many code units it took. A lone half of a pair passes as it is.
inline qsizetype upperCaseOne(const char16_t* in, qsizetype n, qsizetype i, char16_t* out,
                              UnitCapitals& capitals) {
    if (startsPair(in, n, i)) {
        upperCasePair(in + i, out + i);
        return 2;
    }
    out[i] = capitals.of(in[i]);
    return 1;
}

// One upper-cased code unit: a letter takes its transform, anything else stays.
inline char16_t mapLetter(char16_t upper, const LetterMap& map, bool& overflow) {
    const unsigned position = unsigned(upper) - u'A';
    const bool letter = position < 26;
    overflow |= letter && upper >= map.firstOverflow;
    return letter ? map.letters[position] : upper;
}

// Both steps for the units from i on, one at a time; returns how many it took.
inline qsizetype transformOne(const char16_t* in, qsizetype n, qsizetype i, char16_t* out,
                              UnitCapitals& capitals, const LetterMap& map, bool& overflow) {
    const qsizetype taken = upperCaseOne(in, n, i, out, capitals);
    for (qsizetype k = i; k < i + taken; ++k)
        out[k] = mapLetter(out[k], map, overflow);
    return taken;
}

// How many code units the transform takes at a time when it also counts their letters: the
// positions of a block's letters, one byte each, wait in the first-level cache to be counted.
constexpr qsizetype kCountedBlock = 4096;

#if defined(__SSE2__)

constexpr qsizetype kLanes = 8;           // code units in one SSE2 register
constexpr qsizetype kChunk = 8 * kLanes;  // code units that take one code path

__m128i load(const char16_t* units) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
}

void store(char16_t* units, __m128i lanes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units), lanes);
}

// Upper-cases 'a'–'z' and maps the letters of eight code units at once; every other unit,
// whatever its value, passes. A unit is a letter when its position p = (unit | 32) − 'a' lies
// in 0…25, which holds for 'A'–'Z' and 'a'–'z' and nothing else. The arithmetic is the rule's
// in 16-bit lanes, t = (65 + p) × multiplier + rotation = p × multiplier + (65 × multiplier +
// rotation): it wraps where it overflows, but such a letter is caught by the overflow test and
// then no result is used. t rem 26 takes the quotient from a multiply by 20165 / 2^19, which
// equals t / 26 truncated for every 16-bit t.
class LetterLanes {
public:
    explicit LetterLanes(const LetterMap& map)
        : multiplier_(_mm_set1_epi16(map.multiplier)),
          base_(_mm_set1_epi16(qint16(65 * map.multiplier + map.rotation))),  // wraps as t does
          lastFitting_(_mm_set1_epi16(qint16(map.firstOverflow - u'A' - 1))) {}

    // Returns the transformed units; sets lanes of `overflow` for letters that overflow.
    __m128i transform(__m128i units, __m128i& overflow) const {
        const __m128i p =
            _mm_sub_epi16(_mm_or_si128(units, _mm_set1_epi16(32)), _mm_set1_epi16(97));
        const __m128i letter =
            _mm_cmpeq_epi16(_mm_subs_epu16(p, _mm_set1_epi16(25)), _mm_setzero_si128());

        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(p, multiplier_), base_);
        const __m128i quotient = _mm_sub_epi16(
            _mm_srai_epi16(_mm_mulhi_epi16(t, _mm_set1_epi16(20165)), 3), _mm_srai_epi16(t, 15));
        const __m128i remainder = _mm_sub_epi16(t, _mm_mullo_epi16(quotient, _mm_set1_epi16(26)));
        __m128i g = _mm_add_epi16(remainder, _mm_set1_epi16(78));
        g = _mm_sub_epi16(
            g, _mm_and_si128(_mm_cmpgt_epi16(g, _mm_set1_epi16(90)), _mm_set1_epi16(26)));

        overflow = _mm_or_si128(overflow, _mm_and_si128(letter, _mm_cmpgt_epi16(p, lastFitting_)));
        return _mm_or_si128(_mm_and_si128(letter, g), _mm_andnot_si128(letter, units));
    }

    void transformChunk(const char16_t* in, char16_t* out, __m128i& overflow) const {
        for (qsizetype k = 0; k < kChunk; k += kLanes)
            store(out + k, transform(load(in + k), overflow));
    }

private:
    __m128i multiplier_;
    __m128i base_;
    __m128i lastFitting_;  // the largest position whose letter does not overflow
};

// The upper-case forms of eight units, looked up one by one and put straight into the lanes:
// storing them first and loading them back as one would stall. A surrogate maps to itself.
__m128i upperCaseLanes(const char16_t* in, const char16_t* upperCase) {
    __m128i lanes = _mm_cvtsi32_si128(upperCase[in[0]]);
    lanes = _mm_insert_epi16(lanes, upperCase[in[1]], 1);
    lanes = _mm_insert_epi16(lanes, upperCase[in[2]], 2);
    lanes = _mm_insert_epi16(lanes, upperCase[in[3]], 3);
    lanes = _mm_insert_epi16(lanes, upperCase[in[4]], 4);
    lanes = _mm_insert_epi16(lanes, upperCase[in[5]], 5);
    lanes = _mm_insert_epi16(lanes, upperCase[in[6]], 6);
    return _mm_insert_epi16(lanes, upperCase[in[7]], 7);
}

// What a chunk of kChunk code units holds, which decides how it is upper-cased.
enum class ChunkKind { Ascii, NoSurrogates, Other };

ChunkKind kindOf(const char16_t* units) {
    __m128i all = _mm_setzero_si128();
    for (qsizetype k = 0; k < kChunk; k += kLanes)
        all = _mm_or_si128(all, load(units + k));
    const __m128i high = _mm_and_si128(all, _mm_set1_epi16(qint16(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF)
        return ChunkKind::Ascii;
    __m128i surrogates = _mm_setzero_si128();
    for (qsizetype k = 0; k < kChunk; k += kLanes) {
        const __m128i top = _mm_and_si128(load(units + k), _mm_set1_epi16(qint16(0xF800)));
        surrogates = _mm_or_si128(surrogates, _mm_cmpeq_epi16(top, _mm_set1_epi16(qint16(0xD800))));
    }
    return _mm_movemask_epi8(surrogates) == 0 ? ChunkKind::NoSurrogates : ChunkKind::Other;
}

// Upper-cases again, as code points, the surrogate pairs that start in a chunk already
// upper-cased unit by unit; returns the units the chunk takes, one more than kChunk when its
// last unit starts a pair. Only the high halves are visited, found from a bit mask.
qsizetype upperCasePairs(const char16_t* in, qsizetype n, char16_t* upper) {
    quint64 highHalves = 0;
    for (qsizetype k = 0; k < kChunk; k += 2 * kLanes) {
        const __m128i high = _mm_set1_epi16(qint16(0xD800));
        const __m128i top = _mm_set1_epi16(qint16(0xFC00));
        const __m128i first = _mm_cmpeq_epi16(_mm_and_si128(load(in + k), top), high);
        const __m128i second = _mm_cmpeq_epi16(_mm_and_si128(load(in + k + kLanes), top), high);
        highHalves |= quint64(unsigned(_mm_movemask_epi8(_mm_packs_epi16(first, second)))) << k;
    }
    qsizetype taken = kChunk;
    while (highHalves != 0) {
        const qsizetype k = std::countr_zero(highHalves);
        highHalves &= highHalves - 1;
        if (startsPair(in, n, k)) {
            upperCasePair(in + k, upper + k);
            taken = std::max(taken, k + 2);
        }
    }
    return taken;
}

// Upper-cases and transforms one chunk that is not all ASCII through the SSE2 lanes; returns the
// units it took, one more than kChunk when its last unit starts a pair.
inline qsizetype transformOtherChunk(ChunkKind kind, const char16_t* in, qsizetype n, char16_t* out,
                                     UnitCapitals& capitals, const LetterLanes& lanes,
                                     __m128i& overflow) {
    const char16_t* upperCase = capitals.table();
    if (kind == ChunkKind::NoSurrogates) {
        for (qsizetype k = 0; k < kChunk; k += kLanes)
            store(out + k, lanes.transform(upperCaseLanes(in + k, upperCase), overflow));
        return kChunk;
    }
    char16_t upper[kChunk + 1];                     // a pair may reach one unit past the chunk
    for (qsizetype k = 0; k < kChunk; k += kLanes)  // a surrogate maps to itself
        store(upper + k, upperCaseLanes(in + k, upperCase));
    const qsizetype taken = upperCasePairs(in, n, upper);
    lanes.transformChunk(upper, out, overflow);
    if (taken > kChunk)
        out[kChunk] = upper[kChunk];  // the low half of a pair: no letter
    return taken;
}

// Transforms whole chunks from the start of the text of `n` units as far as `limit`; returns how
// far it got, which may be one unit past `limit` when a chunk ends on the high half of a pair.
// The code path is chosen per chunk rather than per character, which keeps branch prediction
// right over long stretches of a text.
qsizetype transformChunksSse2(const char16_t* in, qsizetype n, qsizetype limit, char16_t* out,
                              UnitCapitals& capitals, const LetterMap& map, bool& overflow,
                              LetterCounts* letters) {
    const LetterLanes lanes(map);
    __m128i laneOverflow = _mm_setzero_si128();
    qsizetype i = 0;
    while (i + kChunk <= limit) {
        if (letters != nullptr)  // before the chunk is transformed, perhaps in place
            letters->add(QStringView(in + i, kChunk));
        const ChunkKind kind = kindOf(in + i);
        if (kind == ChunkKind::Ascii) {
            lanes.transformChunk(in + i, out + i, laneOverflow);
            i += kChunk;
        } else {
            i += transformOtherChunk(kind, in + i, n - i, out + i, capitals, lanes, laneOverflow);
        }
    }
    overflow |= _mm_movemask_epi8(laneOverflow) != 0;
    return i;
}

// The ASCII chunks that are most of most texts, 32 code units at a time in AVX2's registers, as
// bytes: an ASCII letter's position p = (unit | 32) − 'a' lies in 0…25, and its transform is
// the letter map's, looked up in two tables of sixteen bytes (the transforms of 'A'–'Z' are
// codes below 128). A letter at a position past the last that fits overflows.
class WideLetterLanes {
public:
    KORVANE_AVX2 explicit WideLetterLanes(const LetterMap& map)
        : firstSixteen_(table(map, 0)),
          lastTen_(table(map, 16)),
          lastFitting_(_mm256_set1_epi8(char(map.firstOverflow - u'A' - 1))) {}

    // Transforms 32 ASCII units, in two registers of 16, into `out`; with `positions`, writes
    // there the units' alphabet positions, one byte each, for their letters to be counted.
    KORVANE_AVX2 void transform(const char16_t* in, char16_t* out, __m256i& overflow,
                                quint8* positions) const {
        const __m256i bytes = packAsciiUnits(in);
        const __m256i p = alphabetPositions(bytes);
        if (positions != nullptr)
            _mm256_store_si256(reinterpret_cast<__m256i*>(positions), p);
        const __m256i letter = _mm256_cmpeq_epi8(_mm256_min_epu8(p, _mm256_set1_epi8(25)), p);
        // A shuffle reads the low four bits of p: the second table serves p from 16 on.
        const __m256i mapped = _mm256_blendv_epi8(_mm256_shuffle_epi8(firstSixteen_, p),
                                                  _mm256_shuffle_epi8(lastTen_, p),
                                                  _mm256_cmpgt_epi8(p, _mm256_set1_epi8(15)));
        overflow =
            _mm256_or_si256(overflow, _mm256_and_si256(letter, _mm256_cmpgt_epi8(p, lastFitting_)));
        const __m256i result = _mm256_blendv_epi8(bytes, mapped, letter);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                            _mm256_unpacklo_epi8(result, _mm256_setzero_si256()));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16),
                            _mm256_unpackhi_epi8(result, _mm256_setzero_si256()));
    }

    // A chunk; `positions`, when given, has room for kChunk bytes at 32-byte alignment.
    KORVANE_AVX2 void transformChunk(const char16_t* in, char16_t* out, __m256i& overflow,
                                     quint8* positions) const {
        for (qsizetype k = 0; k < kChunk; k += 4 * kLanes)
            transform(in + k, out + k, overflow, positions != nullptr ? positions + k : nullptr);
    }

private:
    // The transforms of the sixteen letters from `from` on, as far as 'Z', in both halves.
    KORVANE_AVX2 static __m256i table(const LetterMap& map, int from) {
        alignas(16) char bytes[16] = {};
        for (int p = from; p < std::min(from + 16, 26); ++p)
            bytes[p - from] = char(map.letters[size_t(p)]);
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(bytes)));
    }

    __m256i firstSixteen_;
    __m256i lastTen_;
    __m256i lastFitting_;
};

// transformChunksSse2 with the ASCII chunks in AVX2's lanes. With `letters`, as far as `limit`
// of at most kCountedBlock units: the ASCII chunks leave their letters' positions, which the lanes
// work out for the transform anyway, to be counted once the block is done; any other chunk is
// counted from the text before it is transformed.
KORVANE_AVX2 qsizetype transformChunksAvx2(const char16_t* in, qsizetype n, qsizetype limit,
                                           char16_t* out, UnitCapitals& capitals,
                                           const LetterMap& map, bool& overflow,
                                           LetterCounts* letters) {
    const WideLetterLanes wide(map);
    const LetterLanes lanes(map);
    __m256i wideOverflow = _mm256_setzero_si256();
    __m128i laneOverflow = _mm_setzero_si128();
    alignas(32) quint8 positions[kCountedBlock];
    qsizetype staged = 0;
    qsizetype i = 0;
    while (i + kChunk <= limit) {
        const ChunkKind kind = kindOf(in + i);
        if (kind == ChunkKind::Ascii) {
            wide.transformChunk(in + i, out + i, wideOverflow,
                                letters != nullptr ? positions + staged : nullptr);
            staged += letters != nullptr ? kChunk : 0;
            i += kChunk;
        } else {
            // The other chunks run SSE2 code, which stalls while the upper halves of the AVX
            // registers hold data: they are cleared first.
            _mm256_zeroupper();
            if (letters != nullptr)
                letters->add(QStringView(in + i, kChunk));
            i += transformOtherChunk(kind, in + i, n - i, out + i, capitals, lanes, laneOverflow);
        }
    }
    overflow |= _mm256_movemask_epi8(wideOverflow) != 0 || _mm_movemask_epi8(laneOverflow) != 0;
    if (letters != nullptr)
        letters->addPositions(positions, staged);
    return i;
}

qsizetype transformChunks(TransformLanes lanes, const char16_t* in, qsizetype n, qsizetype limit,
                          char16_t* out, UnitCapitals& capitals, const LetterMap& map,
                          bool& overflow, LetterCounts* letters) {
    if (lanes == TransformLanes::Avx2 && hasAvx2())
        return transformChunksAvx2(in, n, limit, out, capitals, map, overflow, letters);
    return transformChunksSse2(in, n, limit, out, capitals, map, overflow, letters);
}

#else

qsizetype transformChunks(TransformLanes, const char16_t*, qsizetype, qsizetype, char16_t*,
                          UnitCapitals&, const LetterMap&, bool&, LetterCounts*) {
    return 0;  // no lanes here: the whole text goes one unit at a time
}

#endif

}  // namespace

namespace {

// Transforms n code units from `in` into `out`, which may be the same place: every unit is read
// before the unit at its place is written. With `letters`, adds the letters of the text to it in
// the same pass, a block at a time, so that the text is read once for both. False when a letter
// overflowed, after the whole text.
bool transformUnits(const char16_t* in, qsizetype n, char16_t* out, qint16 rotation,
                    qint16 multiplier, TransformLanes lanes = TransformLanes::Widest,
                    LetterCounts* letters = nullptr) {
    const LetterMap map = makeLetterMap(rotation, multiplier);
    UnitCapitals capitals;
    bool overflow = false;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype end = letters != nullptr ? std::min(n, i + kCountedBlock) : n;
        i += transformChunks(lanes, in + i, n - i, end - i, out + i, capitals, map, overflow,
                             letters);
        // The units short of the block's end, fewer than a chunk, one at a time: counted first,
        // as the transform may write them in place. A pair that starts at the block's last unit
        // is taken whole, one unit past the block: the low half of a pair, which is no letter,
        // so the counts miss nothing; so is the unit a chunk may take past its end.
        if (letters != nullptr && i < end)
            letters->add(QStringView(in + i, end - i));
        while (i < end)
            i += transformOne(in, n, i, out, capitals, map, overflow);
    }
    return !overflow;
}

}  // namespace

std::optional<QString> TransformText(QStringView text, qint16 rotation, qint16 multiplier,
                                     LetterCounts* letters) {
    QString result = storageWrittenWhole(text.size());
    if (!transformUnits(text.utf16(), text.size(), reinterpret_cast<char16_t*>(result.data()),
                        rotation, multiplier, TransformLanes::Widest, letters))
        return std::nullopt;
    return result;
}

bool TransformText(QStringView text, QChar* out, qint16 rotation, qint16 multiplier) {
    return transformUnits(text.utf16(), text.size(), reinterpret_cast<char16_t*>(out), rotation,
                          multiplier);
}

bool TransformText(TransformLanes lanes, QStringView text, QChar* out, qint16 rotation,
                   qint16 multiplier, LetterCounts* letters) {
    return transformUnits(text.utf16(), text.size(), reinterpret_cast<char16_t*>(out), rotation,
                          multiplier, lanes, letters);
}

bool anyLetterOverflows(qint16 rotation, qint16 multiplier) {
    return makeLetterMap(rotation, multiplier).firstOverflow <= u'Z';
}

std::optional<char16_t> firstOverflowingLetter(QStringView text, qint16 rotation,
                                               qint16 multiplier) {
    const LetterMap map = makeLetterMap(rotation, multiplier);
    if (map.firstOverflow > u'Z')
        return std::nullopt;
    // A half of a surrogate pair upper-cases to itself: no pair becomes a letter A–Z.
    const char16_t* upperCase = upperCaseTable();
    for (const QChar character : text) {
        const char16_t upper = upperCase[character.unicode()];
        if (upper >= map.firstOverflow && upper <= u'Z')
            return upper;
    }
    return std::nullopt;
}

std::optional<QString> TransformText(QString&& text, qint16 rotation, qint16 multiplier,
                                     LetterCounts* letters) {
    // A text shared with another string (a box's whole text) is read where it lies into new
    // storage: detaching it would copy it first.
    if (!text.isDetached())
        return TransformText(QStringView(text), rotation, multiplier, letters);
    QString result = std::move(text);
    char16_t* units = reinterpret_cast<char16_t*>(result.data());
    if (!transformUnits(units, result.size(), units, rotation, multiplier, TransformLanes::Widest,
                        letters))
        return std::nullopt;
    return result;
}

}  // namespace korvane::cipher
