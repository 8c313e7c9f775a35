// Saves the list file over and over until it is killed, alternating two lists, so that a
// kill lands in every stage of a save. Prints a line after each complete save.
//   faults_save_loop FILE
#include <cstdio>

#include "SaveLoopLists.h"
#include "lists/ListFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: faults_save_loop FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (unsigned round = 0;; ++round) {
        const SaveLoopLists lists = SaveLoopLists::of(round % 2 == 0 ? 'B' : 'A');
        if (!SaveLists(path, lists.acked, lists.watch, false))
            return 1;
        std::puts("saved");
        std::fflush(stdout);
    }
}
