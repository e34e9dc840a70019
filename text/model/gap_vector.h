// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <vector>

namespace korvane::text {

// A sequence of values in one array with a gap at the place of the last insertion or removal,
// so that a run of edits near each other moves only the values between them, not every value
// after them. Reads never move the gap; only a contiguous view of a span may (span()).
//
// The array is a `Storage`: std::vector<T>, or QString for characters, so that a text can be
// taken in and handed out without a copy (assign(), compact()). Whatever the storage, the gap
// grows to hold the insertion, `minimumGap` values more and a `growthDivisor`th of the
// sequence, so that growing it, which moves the values after it, costs a constant share of each
// value inserted.
template <typename T, typename Storage = std::vector<T>>
class GapVector {
public:
    explicit GapVector(qsizetype minimumGap = 64, qsizetype growthDivisor = 8)
        : minimumGap_(minimumGap), growthDivisor_(growthDivisor) {}

    qsizetype size() const { return qsizetype(storage_.size()) - gapLength_; }
    bool isEmpty() const { return size() == 0; }
    const T& operator[](qsizetype index) const { return data()[physical(index)]; }
    T& operator[](qsizetype index) { return mutableData()[physical(index)]; }

    // The values before the gap and after it, as they lie: reading them moves nothing.
    const T* beforeGap() const { return data(); }
    qsizetype beforeGapSize() const { return gapStart_; }
    const T* afterGap() const { return data() + gapStart_ + gapLength_; }
    qsizetype afterGapSize() const { return size() - gapStart_; }
    bool hasGap() const { return gapLength_ > 0; }
    // How many values can be inserted before the storage must grow.
    qsizetype gapLength() const { return gapLength_; }

    // Copies the `count` values at `index` to `out`, from either side of the gap.
    void copy(qsizetype index, qsizetype count, T* out) const {
        const qsizetype before = std::clamp<qsizetype>(gapStart_ - index, 0, count);
        std::copy(data() + index, data() + index + before, out);
        std::copy(data() + index + before + gapLength_, data() + index + count + gapLength_,
                  out + before);
    }

    // The `count` values at `index`, contiguous: the gap moves out of them, by the shorter way,
    // if it lies inside. Valid until the next span, compact() or edit.
    T* span(qsizetype index, qsizetype count) {
        if (gapLength_ > 0 && index < gapStart_ && index + count > gapStart_)
            moveGap(gapStart_ - index <= index + count - gapStart_ ? index : index + count);
        return mutableData() + physical(index);
    }

    // The whole sequence in its storage, the gap moved to the end and cut off: the storage's
    // size is the sequence's, and what was the gap is spare capacity.
    const Storage& compact() {
        moveGap(size());
        if (gapLength_ > 0) {
            storage_.resize(gapStart_);  // shrinking keeps the allocation
            gapLength_ = 0;
        }
        return storage_;
    }
    // The storage as it lies, when there is no gap in it.
    const Storage& storage() const { return storage_; }

    // Takes `values` as the whole sequence, with the gap after them in their spare capacity.
    void assign(Storage values) {
        storage_ = std::move(values);
        gapStart_ = qsizetype(storage_.size());
        gapLength_ = 0;
    }

    // Replaces the `removed` values at `index` by the `count` values at `values`, which must not
    // lie in this vector. When there is no memory for the new values nothing changes: the
    // allocation that may fail comes first.
    void replace(qsizetype index, qsizetype removed, const T* values, qsizetype count) {
        reserveGap(count - removed);
        // The gap comes to the removed values by the nearer of their ends, then takes them in.
        const qsizetype removedEnd = index + removed;
        if (gapStart_ > removedEnd)
            moveGap(removedEnd);
        else if (gapStart_ < index)
            moveGap(index);
        // The gap now starts within [index, removedEnd]: what lies either side of it up to those
        // ends is removed by widening it.
        gapLength_ += removed;
        gapStart_ = index;
        if (count == 0)
            return;
        std::copy(values, values + count, mutableData() + gapStart_);
        gapStart_ += count;
        gapLength_ -= count;
    }
    void insert(qsizetype index, const T* values, qsizetype count) {
        replace(index, 0, values, count);
    }
    void erase(qsizetype index, qsizetype count) { replace(index, count, nullptr, 0); }

    // Adds `delta` to the values of [from, to), on either side of the gap.
    void add(qsizetype from, qsizetype to, T delta) {
        const auto addTo = [delta](T* first, T* last) {
            for (; first != last; ++first)
                *first += delta;
        };
        T* values = mutableData();
        if (from < gapStart_)
            addTo(values + from, values + std::min(to, gapStart_));
        if (to > gapStart_)
            addTo(values + std::max(from, gapStart_) + gapLength_, values + to + gapLength_);
    }

    // The first index in [from, to) at which `isAfter(index)` holds, `to` if none: it must
    // hold for every index after one at which it holds.
    template <typename Predicate>
    qsizetype partitionPoint(qsizetype from, qsizetype to, Predicate isAfter) const {
        while (from < to) {
            const qsizetype middle = from + (to - from) / 2;
            if (isAfter(middle))
                to = middle;
            else
                from = middle + 1;
        }
        return from;
    }

    // Makes the gap at least `count` values long wherever it is, so that an edit that adds no
    // more than `count` values beyond those it removes needs no memory. A storage shared
    // with a copy handed out (compact(), a string's copy of it) is copied here too, where failing
    // changes nothing, rather than by the edit's first write.
    void reserveGap(qsizetype count) {
        if (gapLength_ >= count) {
            if constexpr (requires(Storage & shared) { shared.isDetached(); }) {
                if (!storage_.isDetached())
                    storage_.detach();
            }
            return;
        }
        const qsizetype length = size();
        const qsizetype tail = qsizetype(storage_.size()) - gapStart_ - gapLength_;
        const qsizetype total = length + count + std::max(minimumGap_, length / growthDivisor_);
        // Reserving the exact size first keeps a string of many megabytes from doubling.
        storage_.reserve(total);
        storage_.resize(total);
        T* values = mutableData();
        const qsizetype oldTailStart = gapStart_ + gapLength_;
        gapLength_ = total - length;
        std::move_backward(values + oldTailStart, values + oldTailStart + tail, values + total);
    }

private:
    const T* data() const { return reinterpret_cast<const T*>(std::as_const(storage_).data()); }
    T* mutableData() { return reinterpret_cast<T*>(storage_.data()); }
    qsizetype physical(qsizetype index) const {
        return index < gapStart_ ? index : index + gapLength_;
    }

    // Moves the gap to start at `index`, moving the values in between.
    void moveGap(qsizetype index) {
        if (index == gapStart_)
            return;
        if (gapLength_ > 0) {
            T* values = mutableData();
            if (index < gapStart_)
                std::move_backward(values + index, values + gapStart_,
                                   values + gapStart_ + gapLength_);
            else
                std::move(values + gapStart_ + gapLength_, values + index + gapLength_,
                          values + gapStart_);
        }
        gapStart_ = index;
    }

    Storage storage_;
    qsizetype gapStart_ = 0;
    qsizetype gapLength_ = 0;
    qsizetype minimumGap_;
    qsizetype growthDivisor_;
};

}  // namespace korvane::text
