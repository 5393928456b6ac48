#include "core/LineReader.h"

#include "support/TempDir.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Every line of a file, read through a buffer of the given size.
std::vector<QByteArray> readAll(const QString& path, int bufferSize, int maxLength = 4096,
                                std::vector<bool>* cuts = nullptr)
{
    std::vector<QByteArray> lines;
    const int handle = LineReader::open(QFile::encodeName(path), bufferSize);
    EXPECT_NE(handle, 0);
    while (!LineReader::eof(handle)) {
        bool cut = false;
        lines.push_back(LineReader::readLine(handle, maxLength, &cut));
        if (cuts)
            cuts->push_back(cut);
    }
    LineReader::close(handle);
    return lines;
}

using Lines = std::vector<QByteArray>;

} // namespace

// A line end split across two buffer fills (CR at the end of one, LF at the start of
// the next) must still count once; every buffer size must give the same lines.
TEST(LineReader, everyLineEndKindEndsOneLineAtAnyBufferSize)
{
    TempDir dir;
    const QString path = dir.makeFile("t.txt", "crlf\r\nlfcr\n\rcr\rlf\nlast");
    for (int buffer : {1, 2, 3, 5, 10240})
        EXPECT_EQ(readAll(path, buffer), (Lines{"crlf", "lfcr", "cr", "lf", "last"})) << "buffer " << buffer;

    // One further CR or LF belongs to the line end, whichever it is; a third starts
    // an empty line.
    const QString doubled = dir.makeFile("d.txt", "a\n\nb\r\rc\n\n\nd");
    for (int buffer : {1, 2, 10240})
        EXPECT_EQ(readAll(doubled, buffer), (Lines{"a", "b", "c", "", "d"})) << "buffer " << buffer;
}

TEST(LineReader, endOfFileComesAfterTheLastLineWithOrWithoutLineEnd)
{
    TempDir dir;
    EXPECT_EQ(readAll(dir.makeFile("empty.txt"), 16), Lines{});
    EXPECT_EQ(readAll(dir.makeFile("end.txt", "one\r\n"), 16), Lines{"one"});
    EXPECT_EQ(readAll(dir.makeFile("open.txt", "one\r\ntwo"), 16), (Lines{"one", "two"}));
    EXPECT_EQ(readAll(dir.makeFile("blank.txt", "\r\n"), 16), Lines{""});
}

TEST(LineReader, longLineKeepsItsStartAndTheNextLineIsReadWhole)
{
    TempDir dir;
    const QString path = dir.makeFile("long.txt", QByteArray(30, 'x') + "\r\nnext\r\nabcd\n");
    for (int buffer : {1, 7, 10240}) {
        std::vector<bool> cuts;
        EXPECT_EQ(readAll(path, buffer, 4, &cuts), (Lines{"xxxx", "next", "abcd"})) << "buffer " << buffer;
        EXPECT_EQ(cuts, (std::vector<bool>{true, false, false})) << "a line of exactly the limit is not cut";
    }
}

TEST(LineReader, bytesAreKeptAsRead)
{
    TempDir dir;
    const QByteArray raw("\xff\xfe\x00\x80 caf\xc3\xa9", 11);
    EXPECT_EQ(readAll(dir.makeFile("raw.txt", raw + "\n"), 4), Lines{raw});
}

TEST(LineReader, eleventhOpenFileIsRefusedUntilOneIsClosed)
{
    TempDir dir;
    const QByteArray path = QFile::encodeName(dir.makeFile("f.txt", "x\n"));
    std::vector<int> handles;
    for (int i = 0; i < LineReader::kMaxOpen; ++i) {
        const int handle = LineReader::open(path, 64);
        ASSERT_GE(handle, 1);
        ASSERT_LE(handle, LineReader::kMaxOpen);
        handles.push_back(handle);
    }
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::unique(handles.begin(), handles.end()), handles.end()) << "a handle given twice";
    EXPECT_EQ(LineReader::open(path, 64), 0);

    LineReader::close(handles[3]);
    const int again = LineReader::open(path, 64);
    EXPECT_NE(again, 0) << "a closed handle is free again";
    EXPECT_EQ(LineReader::readLine(again, 10), "x") << "a reused handle starts at the file's beginning";
    handles[3] = again;
    for (int handle : handles)
        LineReader::close(handle);
}

TEST(LineReader, missingFoldersAndBadHandlesAreHarmless)
{
    TempDir dir;
    EXPECT_EQ(LineReader::open(QFile::encodeName(dir.filePath("missing")), 64), 0);
    EXPECT_EQ(LineReader::open(QFile::encodeName(dir.makeDir("sub")), 64), 0) << "a folder is not a text file";
    for (int handle : {0, -1, 3, LineReader::kMaxOpen + 1}) {
        EXPECT_TRUE(LineReader::eof(handle));
        EXPECT_EQ(LineReader::readLine(handle, 10), QByteArray());
        LineReader::close(handle);
    }
}
