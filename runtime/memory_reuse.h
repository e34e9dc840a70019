#pragma once

namespace korvane::runtime {

// Every keystroke reads, transforms and writes the whole text, which for a long text means a
// few blocks of tens of megabytes taken and given back each time. By default glibc maps such a
// block fresh from the kernel and unmaps it when it is freed, so every keystroke pays a page
// fault for each 4 KiB of it, which costs more than all the work on the text. This keeps large
// blocks in the heap instead, where the next keystroke finds them already mapped; the heap is
// still given back once more than 64 MiB of it lie free at its top. Does nothing where the C
// library is not glibc.
void ReuseLargeBlocks() noexcept;

}  // namespace korvane::runtime
