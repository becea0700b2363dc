// A world saved as the user saves it (File > Save As) and read back as text, to
// compare what the file holds.
#pragma once

#include "mainwindow/Form1.h"
#include "platform/doubles/platform_doubles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

// The whole saved file, to compare byte for byte.
inline std::string SavedWorldText(Form1& form, platform::doubles::PlatformDoubles& doubles, const std::string& path) {
    doubles.prompts.answerSaveFile(path);
    EXPECT_TRUE(form.mnuSaveAs_Click());
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The saved file's records of one kind ("bitmap", "animation"), in file order.
inline std::vector<std::string> SavedRecords(Form1& form, platform::doubles::PlatformDoubles& doubles,
                                             const std::string& path, const std::string& kind) {
    doubles.prompts.answerSaveFile(path);
    EXPECT_TRUE(form.mnuSaveAs_Click());
    std::ifstream in(path);
    std::vector<std::string> records;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(kind + " ", 0) == 0) records.push_back(line);
    return records;
}

// A bitmap record as its file name and transparent index ("wall.bmp -1"): what
// the world will read and which colour it makes transparent.
inline std::string BitmapRecordFile(const std::string& record) {
    std::istringstream in(record);
    std::string word, name, reference, file;
    int id = 0, index = 0;
    in >> word >> id >> std::quoted(name) >> std::quoted(reference) >> std::quoted(file) >> index;
    return file + " " + std::to_string(index);
}

// The bitmap records of the saved world, each as BitmapRecordFile gives it.
inline std::vector<std::string> SavedBitmapFiles(Form1& form, platform::doubles::PlatformDoubles& doubles,
                                                 const std::string& path) {
    std::vector<std::string> files;
    for (const std::string& record : SavedRecords(form, doubles, path, "bitmap"))
        files.push_back(BitmapRecordFile(record));
    return files;
}
