// Build step: writes the empty catalogue file that ships beside the executable. An existing
// file is left alone so a rebuild never wipes a catalogue in use.
#include <cstdio>
#include <string>

#include "catalogue/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_empty_catalogue PATH\n");
        return 2;
    }
    const std::string path = argv[1];
    if (kestavel::PathExists(path)) return 0;
    std::string error;
    const std::string temporary = path + ".new";
    kestavel::DeleteFile(temporary);
    {
        auto db = kestavel::SqliteDatabase::open(temporary, kestavel::SqliteDatabase::Mode::Create,
                                                 &error);
        if (!db || !db->execute("PRAGMA journal_mode=DELETE", &error) ||
            !db->execute(kestavel::ModCatalogue::CreateTableSql(), &error)) {
            std::fprintf(stderr, "make_empty_catalogue: %s\n", error.c_str());
            return 1;
        }
    }
    if (!kestavel::MoveFile(temporary, path)) {
        std::fprintf(stderr, "make_empty_catalogue: cannot place %s\n", path.c_str());
        return 1;
    }
    return 0;
}
