#include "screens/SentenceSetupModel.h"

#include "screens/SentenceImageList.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <dirent.h>
#include <sys/stat.h>

QString DisplayFileName(const QByteArray& name)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(name);
    if (!utf8.hasError()) return text;
    const QString ansi = FromAnsi(name);
    if (!ansi.contains(QChar::ReplacementCharacter)) return ansi;
    // Neither: each byte that is no part of a UTF-8 character is written out.
    QString out;
    for (qsizetype i = 0; i < name.size();) {
        qsizetype len = 1;
        while (len <= 4 && i + len <= name.size()) {
            QStringDecoder one(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString c = one(name.mid(i, len));
            if (!one.hasError() && !c.isEmpty()) break;
            ++len;
        }
        if (len <= 4 && i + len <= name.size()) {
            out += QString::fromUtf8(name.mid(i, len));
            i += len;
        } else {
            out += QStringLiteral("\\x%1").arg(uchar(name[i]), 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return out;
}

QList<TPracticeText> ListPracticeTexts(const QString& Folder)
{
    // Read with the C library: Qt's listing leaves out names it cannot decode.
    QList<TPracticeText> texts;
    QByteArray folder = QFile::encodeName(Folder);
    if (!folder.endsWith('/')) folder += '/';
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return texts;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() < 4 || name.startsWith('.') || name.right(4).toLower() != ".txt") continue;
        const QByteArray path = folder + name;
        struct stat st;
        if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const QString shown = DisplayFileName(name);
        texts.append({shown.left(shown.size() - 4), QDir(Folder).filePath(shown), path});
    }
    ::closedir(dir);
    std::sort(texts.begin(), texts.end(), [](const TPracticeText& a, const TPracticeText& b) {
        const int c = a.Caption.compare(b.Caption, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.NativePath < b.NativePath;
    });
    return texts;
}

QList<TPracticeText> ListAllPracticeTexts(const QString& BundledFolder, const QString& OwnFolder)
{
    QList<TPracticeText> texts = ListPracticeTexts(BundledFolder);
    // One folder named twice (the program run from the data folder) lists its texts once.
    const QString bundled = QFileInfo(BundledFolder).canonicalFilePath();
    if (!bundled.isEmpty() && bundled == QFileInfo(OwnFolder).canonicalFilePath()) return texts;
    const QList<TPracticeText> owns = ListPracticeTexts(OwnFolder);
    if (owns.isEmpty()) return texts;
    for (const TPracticeText& own : owns) {
        texts.erase(std::remove_if(texts.begin(), texts.end(),
                                   [&](const TPracticeText& t) { return t.Caption == own.Caption; }),
                    texts.end());
        texts.append(own);
    }
    // In the order each folder's own listing has.
    std::stable_sort(texts.begin(), texts.end(), [](const TPracticeText& a, const TPracticeText& b) {
        return a.Caption.compare(b.Caption, Qt::CaseInsensitive) < 0;
    });
    return texts;
}

QSize ThumbnailSize(int W, int H, int ItemHeight)
{
    if (W <= 0 || H <= 0) return QSize();
    const float r = float(W) / float(H);
    if (r >= 1.0f) return QSize(ItemHeight, std::max(1, int(std::trunc(float(ItemHeight) / r))));
    return QSize(std::max(1, int(std::trunc(float(ItemHeight) * r))), ItemHeight);
}

QImage MakeThumbnailImage(const QString& Path, int ItemHeight, QString* Error)
{
    QImage picture;
    if (!LoadPicture(Path, picture, Error)) return QImage();
    const QSize size = ThumbnailSize(picture.width(), picture.height(), ItemHeight);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
