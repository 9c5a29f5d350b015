// A document on its own, files built byte by byte for it in a temporary folder, and its
// records by id.
#pragma once

#include "tests/shapes/Records.h"
#include "tests/support/ModalAnswers.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"

#include "framework/core/Archive.h"
#include "framework/core/Commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using Bytes = std::vector<BYTE>;

inline void Put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

// The archive form with `count` as its count and `records` line records behind it, each of
// 32 bytes whose fields derive from its id (10, 20, …).
inline Bytes Archive(std::int32_t count, int records)
{
    Bytes b;
    Put32(b, std::uint32_t(count));
    for (int i = 1; i <= records; ++i)
        for (std::uint32_t v :
             {10u * i, 10u * i + 1, 10u * i + 2, 10u * i + 3, 1u, 0xFFu, 0xFFFFFFu, 3u})
            Put32(b, v);
    return b;
}

// A drawing written with the signature: "SKRL", the version, then the archive form.
inline Bytes Signed(const Bytes& archive, std::uint32_t version = 1)
{
    Bytes b = {'S', 'K', 'R', 'L'};
    Put32(b, version);
    b.insert(b.end(), archive.begin(), archive.end());
    return b;
}

// A 24-bit BMP file of w × h pixels with a 40-byte info header, every pixel mid-grey.
inline Bytes Bmp24(int w, int h)
{
    const auto pixels = std::uint32_t((3 * w + 3) / 4 * 4 * h);
    Bytes b = {'B', 'M'};
    for (std::uint32_t v : {54 + pixels, 0u, 54u, 40u, std::uint32_t(w), std::uint32_t(h)})
        Put32(b, v);
    b.insert(b.end(), {1, 0, 24, 0}); // planes, bits
    for (std::uint32_t v : {0u, pixels, 2835u, 2835u, 0u, 0u})
        Put32(b, v);
    b.resize(b.size() + pixels, 0x80);
    return b;
}

// The records in the archive form, as the document stores them.
inline Bytes Stored(CSkorelDoc& doc)
{
    Bytes out;
    CArchive ar(out, CArchive::store);
    doc.Serialize(ar);
    return out;
}

// The records by id: the x of their start.
inline std::vector<int> RecordIds(const CSkorelDoc& doc)
{
    std::vector<int> ids;
    for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
        ids.push_back(doc.m_shapeList.GetNext(pos)->m_ptStart.x);
    return ids;
}

// Draws a line record whose corners derive from `id`, in the form Archive writes.
inline void AddRecord(CSkorelDoc& doc, int id)
{
    std::vector<std::unique_ptr<CData>> one;
    one.push_back(std::make_unique<CData>(
        Record(SHAPE_LINE, CPoint(id, id + 1), CPoint(id + 2, id + 3), 0xFF, 0xFFFFFF, 3)));
    doc.AddShapes(std::move(one), false);
}

class SkorelDocTest : public ::testing::Test {
protected:
    // Writes a file into the folder; those the tests open are good starting points for the
    // document fuzzer, kept when the run asks for seeds.
    std::string Write(const char* name, const Bytes& bytes) const
    {
        const auto write = [&](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) &&
                   f.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())) ==
                       qsizetype(bytes.size());
        };
        EXPECT_TRUE(write(m_dir.filePath(QString::fromUtf8(name))));
        const QByteArray seeds = qgetenv("SKOREL_FUZZ_SEEDS");
        if (!seeds.isEmpty() && bytes.size() <= 65536 &&
            QDir().mkpath(QString::fromUtf8(seeds) + "/fuzz_doc"))
            write(QString::fromUtf8(seeds) + "/fuzz_doc/" + QString::fromUtf8(name));
        return PathOf(name);
    }
    std::string PathOf(const char* name) const
    {
        return m_dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    // Opens a file into `doc`; false when the open fails or shows any message.
    static bool OpensQuietly(CSkorelDoc& doc, const std::string& path)
    {
        ModalAnswers none({});
        const bool opened = doc.OnOpenDoc(path.c_str());
        QTest::qWait(30);
        return opened && none.Unexpected() == 0;
    }
    // Writes a file and opens it into the document, quietly.
    bool Open(const char* name, const Bytes& bytes)
    {
        return OpensQuietly(m_doc, Write(name, bytes));
    }
    // Opens a file whose open is expected to fail with one message, which it returns.
    QString OpenFailing(const std::string& path)
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
        EXPECT_FALSE(m_doc.OnOpenDoc(path.c_str()));
        return answers.Texts().value(0);
    }

    QTemporaryDir m_dir;
    CSkorelDoc m_doc;
};
