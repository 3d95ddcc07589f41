#pragma once

#include <QString>

// Counts, through the kernel's file notifications, how often the file at a path (the file
// itself, under whatever name or link it is reached) is opened, for tests that must tell a file
// that is read from one that is only looked at: a look (stat) or a descriptor that only points
// at the file is not an open.
class OpenCounter {
public:
    explicit OpenCounter(const QString& path);
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    ~OpenCounter();

    bool Watching() const { return watch_ >= 0; }
    // The opens since the last call (since construction for the first). The kernel merges an
    // open into the one before it while neither has been read, so a test that counts several
    // opens calls this after each.
    int Opens();

private:
    int notify_ = -1;
    int watch_ = -1;
};
