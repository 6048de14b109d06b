#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel::test {

// A run directory with an empty catalogue, a workshop folder and a fake MainWindow whose
// settings boxes point at them.
class PagesTest : public ::testing::Test {
  protected:
    PagesTest() : runDirectory(dir.makeFolder("run")), workshop(dir.makeFolder("workshop")),
                  window(runDirectory) {
        MakeEmptyCatalogue(CataloguePath(runDirectory));
        window.workshopFolder.value = workshop;
    }

    // Appends record n = count + 1 with this 编码 and, unless told otherwise, its item folder.
    int addItem(const std::string& code, bool withFolder = true) {
        auto catalogue = openCatalogue();
        const int n = catalogue->recordCount() + 1;
        EXPECT_TRUE(catalogue->addRecord(n, GbkText::fromAscii(code)));
        catalogue->close();
        if (withFolder) CreateDirectory(JoinPath(workshop, code));
        return n;
    }

    void setField(int n, Field field, const FieldValue& value) {
        auto catalogue = openCatalogue();
        ASSERT_TRUE(catalogue->goToRecord(n));
        ASSERT_TRUE(catalogue->write(field, value));
        catalogue->close();
    }

    FieldValue field(int n, Field which) {
        auto catalogue = openCatalogue();
        EXPECT_TRUE(catalogue->goToRecord(n));
        FieldValue value = catalogue->read(which);
        catalogue->close();
        return value;
    }

    // A text field as UTF-8 (GBK bytes converted for reading the assertions).
    std::string text(int n, Field which) {
        const FieldValue value = field(n, which);
        const auto* gbk = std::get_if<GbkText>(&value);
        return gbk ? GbkToUtf8(*gbk) : std::string("<not text>");
    }
    // A text field's raw bytes.
    std::string bytes(int n, Field which) {
        const FieldValue value = field(n, which);
        const auto* gbk = std::get_if<GbkText>(&value);
        return gbk ? gbk->bytes() : std::string("<not text>");
    }
    bool flag(int n, Field which) {
        const FieldValue value = field(n, which);
        const auto* set = std::get_if<bool>(&value);
        return set && *set;
    }

    // Fills the fake list from the catalogue, as start-up does.
    void fillList() {
        std::string error;
        ASSERT_TRUE(FillListMirror(window.list, CataloguePath(runDirectory), &error)) << error;
    }
    std::string cell(int row, Field column) {
        return GbkToUtf8(window.list.cell(row, Position(column) - 1));
    }

    std::string pagePath(const std::string& code) {
        return ItemFolder(workshop, GbkText::fromAscii(code)).page();
    }
    void savePage(const std::string& code, const std::string& contents) {
        ASSERT_TRUE(WriteWholeFile(pagePath(code), contents));
    }

    std::unique_ptr<ModCatalogue> openCatalogue() {
        std::string error;
        auto catalogue = ModCatalogue::open(CataloguePath(runDirectory), &error);
        EXPECT_TRUE(catalogue) << error;
        return catalogue;
    }

    TempDir dir;
    std::string runDirectory;
    std::string workshop;
    FakeWindow window;
};

}  // namespace kestavel::test
