// Kavio.ini as Windows leaves it: other encodings and line endings survive a write, a file that
// cannot be read is never written over, a value cannot break its line apart, and numbers read
// over the whole range of int.
#include "core/CProfileFile.h"
#include "core/Settings.h"
#include "support/QStringPrinting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("Kavio.ini")); }

    void writeBytes(const QByteArray& content) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray bytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    CProfileFile profile{path()};
};

// ---- Encodings and line endings -----------------------------------------------------------

TEST_F(ProfileFileTest, Windows1252FileKeepsEveryByteOfItsOtherLines) {
    const QByteArray original = "; Gr\xFC\xDF"
                                "e \x80 \x84Probe\x93\r\n"
                                "[PHOTO]\r\n"
                                "DirMusician=/home/j\xFCrgen/Bilder\r\n"
                                "[OPTIONS]\r\n"
                                "MwStInkl=1\r\n";
    writeBytes(original);
    EXPECT_EQ(Settings::readText(profile, Settings::DirMusician),
              QStringLiteral("/home/jürgen/Bilder"));

    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 0));
    QByteArray expected = original;
    expected.replace("MwStInkl=1", "MwStInkl=0");
    EXPECT_EQ(bytes(), expected);

    // A new value is stored in the file's code page and line ending.
    ASSERT_TRUE(Settings::writeText(profile, Settings::DirMerch, QStringLiteral("/home/jürgen/€")));
    expected.replace("Bilder\r\n", "Bilder\r\nDirMerch=/home/j\xFCrgen/\x80\r\n");
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(Settings::readText(profile, Settings::DirMerch), QStringLiteral("/home/jürgen/€"));
}

TEST_F(ProfileFileTest, ValueBeyondWindows1252MovesTheFileToUtf8WithAllItsText) {
    writeBytes("[PHOTO]\nDirMusician=/home/j\xFCrgen\n");
    ASSERT_TRUE(Settings::writeText(profile, Settings::DirMerch, QStringLiteral("/home/Łódź")));
    EXPECT_EQ(bytes(),
              QStringLiteral("[PHOTO]\nDirMusician=/home/jürgen\nDirMerch=/home/Łódź\n").toUtf8());
    EXPECT_EQ(Settings::readText(profile, Settings::DirMusician), QStringLiteral("/home/jürgen"));
    EXPECT_EQ(Settings::readText(profile, Settings::DirMerch), QStringLiteral("/home/Łódź"));
}

TEST_F(ProfileFileTest, Windows1252ReadsEveryByteAsTheCodePageDefinesIt) {
    QStringDecoder reference("windows-1252");
    if (!reference.isValid())
        GTEST_SKIP() << "this Qt has no Windows-1252 decoder to compare with";
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        // The free places are read differently by different tables; they only need to survive.
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            continue;
        SCOPED_TRACE(byte);
        const QByteArray value = QByteArray("x") + char(byte) + "y";
        writeBytes("[A]\nK=" + value + "\n");
        EXPECT_EQ(profile.readText(QStringLiteral("A"), QStringLiteral("K")),
                  QString(reference.decode(value)));
    }
}

TEST_F(ProfileFileTest, FilesWithByteOrderMarkAreReadAndKeepTheirEncoding) {
    for (const auto encoding :
         {QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        SCOPED_TRACE(int(encoding));
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        const QString original = QStringLiteral("[PHOTO]\r\nDirMusician=C:\\Fotos\\Bühne\r\n"
                                                "[OPTIONS]\r\nMwStInkl=0\r\n");
        writeBytes(encoder.encode(original));
        EXPECT_EQ(Settings::readText(profile, Settings::DirMusician),
                  QStringLiteral("C:\\Fotos\\Bühne"));
        EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 0);

        ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 1));
        ASSERT_TRUE(Settings::writeText(profile, Settings::DirMerch, QStringLiteral("D:\\Ware")));
        QStringEncoder again(encoding, QStringConverter::Flag::WriteBom);
        EXPECT_EQ(bytes(), again.encode(QStringLiteral("[PHOTO]\r\nDirMusician=C:\\Fotos\\Bühne\r\n"
                                                       "DirMerch=D:\\Ware\r\n"
                                                       "[OPTIONS]\r\nMwStInkl=1\r\n")));
    }
}

TEST_F(ProfileFileTest, LinesNotWrittenStayByteForByteInEachEncoding) {
    const struct {
        const char* what;
        QByteArray original;
        QByteArray merch; // the new line as the file's encoding writes it
    } cases[] = {
        // A stray Windows-1252 byte in a file marked as UTF-8 survives: it is not turned into
        // a replacement character by an unrelated write.
        {"UTF-8 with mark and a stray byte",
         "\xEF\xBB\xBF[PHOTO]\r\nDirMusician=/home/j\xFCrgen\r\n[OPTIONS]\r\nMwStInkl=1\r\n",
         "DirMerch=/home/\xC3\xBC"},
        {"UTF-8", "[PHOTO]\nDirMusician=/home/j\xC3\xBCrgen \t \n[OPTIONS]\nMwStInkl=1\n",
         "DirMerch=/home/\xC3\xBC"},
        {"Windows-1252", "[PHOTO]\nDirMusician=/home/j\xFCrgen\x81\n[OPTIONS]\nMwStInkl=1\n",
         "DirMerch=/home/\xFC"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        QFile::remove(path());
        writeBytes(each.original);
        ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 0));
        ASSERT_TRUE(Settings::writeText(profile, Settings::DirMerch, QStringLiteral("/home/ü")));
        const QByteArray ending = each.original.contains("\r\n") ? "\r\n" : "\n";
        QByteArray expected = each.original;
        expected.replace("MwStInkl=1", "MwStInkl=0");
        expected.insert(expected.indexOf(ending, expected.indexOf("DirMusician=")) + ending.size(),
                        each.merch + ending);
        EXPECT_EQ(bytes(), expected);
        EXPECT_EQ(Settings::readText(profile, Settings::DirMerch), QStringLiteral("/home/ü"));
    }
}

TEST_F(ProfileFileTest, TheEncodingIsDecidedOnceSoAWriteChangesNoOtherValue) {
    // Windows-1252 because of its first line; the second reads "Ã¤" in that code page (and
    // would read "ä" as UTF-8).
    writeBytes("[A]\nK=\xE4\nL=\xC3\xA4\n");
    EXPECT_EQ(profile.readText(QStringLiteral("A"), QStringLiteral("L")), QStringLiteral("Ã¤"));
    // The only byte that is no UTF-8 goes; the file stays Windows-1252 for this program.
    ASSERT_TRUE(profile.writeText(QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("a")));
    EXPECT_EQ(bytes(), QByteArray("[A]\nK=a\nL=\xC3\xA4\n"));
    EXPECT_EQ(profile.readText(QStringLiteral("A"), QStringLiteral("L")), QStringLiteral("Ã¤"));
    ASSERT_TRUE(profile.writeText(QStringLiteral("A"), QStringLiteral("M"), QStringLiteral("ö")));
    EXPECT_EQ(bytes(), QByteArray("[A]\nK=a\nL=\xC3\xA4\nM=\xF6\n"));
    EXPECT_EQ(CProfileFile(path()).readText(QStringLiteral("A"), QStringLiteral("L")),
              QStringLiteral("Ã¤"));
}

TEST_F(ProfileFileTest, LastLineWithoutLineEndIsEndedOnlyWhenALineFollows) {
    writeBytes("[OPTIONS]\r\nMwStInkl=1");
    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, 0));
    EXPECT_EQ(bytes(), "[OPTIONS]\r\nMwStInkl=0");
    ASSERT_TRUE(Settings::writeText(profile, Settings::BirthReminder, QStringLiteral("1,2,3")));
    EXPECT_EQ(bytes(), "[OPTIONS]\r\nMwStInkl=0\r\nBirthReminder=1,2,3\r\n");
}

// ---- A file that exists but cannot be read -------------------------------------------------

// Each way leaves a Kavio.ini that even root cannot read; a write must neither replace it nor
// report success, and reading gives the defaults.
TEST_F(ProfileFileTest, UnreadableFileIsNeverWrittenOver) {
    const auto expectUntouched = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 1); // the default
        EXPECT_EQ(Settings::readText(profile, Settings::DirMusician), QString());
        EXPECT_FALSE(Settings::writeInt(profile, Settings::MwStInkl, 0));
        EXPECT_FALSE(Settings::writeText(profile, Settings::DirMusician, QStringLiteral("/f")));
        EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 1);
    };

    // A socket: opening it fails for everyone, replacing it would not.
    const QByteArray socketPath = QFile::encodeName(path());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(socketPath.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socketFd, 0);
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(socketFd);
    expectUntouched("socket");
    EXPECT_FALSE(QFileInfo(path()).isFile());
    EXPECT_TRUE(QFileInfo::exists(path()));
    ASSERT_TRUE(QFile::remove(path()));

    // A folder of that name.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Kavio.ini")));
    expectUntouched("folder");
    EXPECT_TRUE(QFileInfo(path()).isDir());
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Kavio.ini")));

    // A file without read permission, where that stops this process (root reads it anyway).
    writeBytes("[OPTIONS]\nMwStInkl=0\n[PHOTO]\nDirMerch=/m\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::WriteOwner));
    if (::access(QFile::encodeName(path()).constData(), R_OK) != 0)
        expectUntouched("no read permission");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(bytes(), "[OPTIONS]\nMwStInkl=0\n[PHOTO]\nDirMerch=/m\n");
}

// ---- Line breaks --------------------------------------------------------------------------

TEST_F(ProfileFileTest, LineBreakCannotPlantSettings) {
    const QByteArray original = "[PHOTO]\nDirMusician=/fotos\n";
    writeBytes(original);

    EXPECT_FALSE(profile.writeText(QStringLiteral("PHOTO"), QStringLiteral("DirMusician"),
                                   QStringLiteral("/a\n[OPTIONS]\nMwStInkl=0")));
    EXPECT_EQ(bytes(), original);
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), 1);
    EXPECT_EQ(Settings::readText(profile, Settings::DirMusician), QStringLiteral("/fotos"));

    const QString broken[] = {QStringLiteral("a\rb"), QStringLiteral("a\r\nb"),
                              QStringLiteral("a\nb"),
                              QString(QStringLiteral("ab")).insert(1, QChar(0))};
    for (const QString& text : broken) {
        SCOPED_TRACE(text.toUtf8().toHex().toStdString());
        EXPECT_FALSE(profile.writeText(QStringLiteral("PHOTO"), QStringLiteral("DirMerch"), text));
        EXPECT_FALSE(profile.writeText(QStringLiteral("PHOTO"), text, QStringLiteral("x")));
        EXPECT_FALSE(profile.writeText(text, QStringLiteral("DirMerch"), QStringLiteral("x")));
        EXPECT_EQ(bytes(), original);
    }

    // Nothing is created either.
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_FALSE(Settings::writeText(profile, Settings::DirMerch, QStringLiteral("/a\n/b")));
    EXPECT_FALSE(QFile::exists(path()));
}

// ---- Numbers ------------------------------------------------------------------------------

TEST_F(ProfileFileTest, NumbersReadOverTheWholeRangeOfInt) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"-2147483648", INT_MIN},
                          {"2147483647", INT_MAX},
                          {"+2147483647", INT_MAX},
                          {"2147483648", 0},
                          {"-2147483649", 0},
                          {"99999999999999999999999", 0},
                          {"  -12", -12},
                          {"\t42", 42},
                          {"12abc", 12},
                          {"-7,5", -7},
                          {"007", 7},
                          {"- 5", 0},
                          {"0x1F", 0},
                          {"", 0},
                          {"-", 0},
                          {"abc", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CProfileFile::toInt(QString::fromUtf8(c.text)), c.value);
    }

    ASSERT_TRUE(Settings::writeInt(profile, Settings::MwStInkl, INT_MIN));
    EXPECT_EQ(Settings::readInt(profile, Settings::MwStInkl), INT_MIN);
}

} // namespace
