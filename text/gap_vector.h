// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <algorithm>
#include <vector>

namespace korvane::text {

// A sequence of values in one array with a gap at the place of the last insertion or removal,
// so that a run of edits near each other moves only the values between them, not every value
// after them. Reads never move the gap.
template <typename T>
class GapVector {
public:
    qsizetype size() const { return qsizetype(body_.size()) - gapLength_; }
    const T& operator[](qsizetype index) const {
        return body_[std::size_t(index < gapStart_ ? index : index + gapLength_)];
    }
    T& operator[](qsizetype index) {
        return body_[std::size_t(index < gapStart_ ? index : index + gapLength_)];
    }
    const T& back() const { return (*this)[size() - 1]; }

    // Takes `values` as the whole sequence, with the gap after them in their spare capacity.
    void assign(std::vector<T> values) {
        body_ = std::move(values);
        gapStart_ = qsizetype(body_.size());
        gapLength_ = 0;
    }

    // Inserts the `count` values at `values` before `index`.
    void insert(qsizetype index, const T* values, qsizetype count) {
        if (count == 0)
            return;
        moveGap(index);
        reserveGap(count);
        std::copy(values, values + count, body_.begin() + gapStart_);
        gapStart_ += count;
        gapLength_ -= count;
    }

    // Removes the `count` values from `index` on.
    void erase(qsizetype index, qsizetype count) {
        if (count == 0)
            return;
        // The gap comes to the nearer end of the values, then takes them in.
        if (gapStart_ > index + count)
            moveGap(index + count);
        else if (gapStart_ < index)
            moveGap(index);
        gapLength_ += count;
        gapStart_ = index;
    }

    // Adds `delta` to the values of [from, to), on either side of the gap.
    void add(qsizetype from, qsizetype to, T delta) {
        const auto addTo = [delta](T* first, T* last) {
            for (; first != last; ++first)
                *first += delta;
        };
        T* data = body_.data();
        if (from < gapStart_)
            addTo(data + from, data + std::min(to, gapStart_));
        if (to > gapStart_)
            addTo(data + std::max(from, gapStart_) + gapLength_, data + to + gapLength_);
    }

    // The first index in [from, to) whose value is greater than `value` (or `to`), the values
    // being in ascending order once `offset(index)` is added to each.
    template <typename Offset>
    qsizetype upperBound(qsizetype from, qsizetype to, T value, Offset offset) const {
        while (from < to) {
            const qsizetype middle = from + (to - from) / 2;
            if ((*this)[middle] + offset(middle) <= value)
                from = middle + 1;
            else
                to = middle;
        }
        return from;
    }

private:
    void moveGap(qsizetype index) {
        if (index == gapStart_)
            return;
        if (gapLength_ > 0) {
            const auto begin = body_.begin();
            if (index < gapStart_)
                std::move_backward(begin + index, begin + gapStart_,
                                   begin + gapStart_ + gapLength_);
            else
                std::move(begin + gapStart_ + gapLength_, begin + index + gapLength_,
                          begin + gapStart_);
        }
        gapStart_ = index;
    }

    // Makes the gap at least `count` values long, and an eighth of the sequence beyond, so that
    // growing it, which moves the values after it, costs a constant share of each insertion.
    void reserveGap(qsizetype count) {
        if (gapLength_ >= count)
            return;
        const qsizetype length = size();
        const qsizetype tail = qsizetype(body_.size()) - gapStart_ - gapLength_;
        const qsizetype newGap = count + std::max<qsizetype>(64, length / 8);
        std::vector<T> grown;
        grown.reserve(std::size_t(length + newGap));
        grown.insert(grown.end(), body_.begin(), body_.begin() + gapStart_);
        grown.resize(std::size_t(gapStart_ + newGap));
        grown.insert(grown.end(), body_.end() - tail, body_.end());
        body_ = std::move(grown);
        gapLength_ = newGap;
    }

    std::vector<T> body_;
    qsizetype gapStart_ = 0;
    qsizetype gapLength_ = 0;
};

}  // namespace korvane::text
