// A fresh folder under /tmp for each test, removed afterwards, with small
// helpers to put files in it and read back what is there.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"

namespace vollo {

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vollo-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Writes bytes to dir/name, making the folders on the way; gives the full path.
    std::string put(const std::string& name, const std::string& bytes = "") {
        std::filesystem::create_directories(std::filesystem::path(dir + "/" + name).parent_path());
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return dir + "/" + name;
    }
    // Makes dir/name/ and gives it with its trailing "/".
    std::string folder(const std::string& name) {
        std::filesystem::create_directories(dir + "/" + name);
        return dir + "/" + name + "/";
    }
    std::string read(const std::string& name) { return readFileBytes(dir + "/" + name).value_or("<none>"); }
    // The names in dir, sorted.
    std::vector<std::string> names() {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            all.push_back(entry.path().filename());
        }
        std::sort(all.begin(), all.end());
        return all;
    }

    std::string dir;
};

}  // namespace vollo
