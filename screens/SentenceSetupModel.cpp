#include "screens/SentenceSetupModel.h"

#include "screens/SentenceImageList.h"

#include <QDir>

#include <algorithm>
#include <cmath>

QList<TPracticeText> ListPracticeTexts(const QString& Folder)
{
    QList<TPracticeText> texts;
    const QDir dir(Folder);
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        if (file.isHidden()) continue;
        const QString name = file.fileName();
        texts.append({name.left(name.size() - 4), file.filePath()});
    }
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
    // In the order each folder's own listing has: by file name, ignoring case.
    std::stable_sort(texts.begin(), texts.end(), [](const TPracticeText& a, const TPracticeText& b) {
        return QString::compare(QFileInfo(a.Path).fileName(), QFileInfo(b.Path).fileName(), Qt::CaseInsensitive) < 0;
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

QImage MakeThumbnailImage(const QString& Path, int ItemHeight)
{
    QImage picture;
    if (!LoadPicture(Path, picture)) return QImage();
    const QSize size = ThumbnailSize(picture.width(), picture.height(), ItemHeight);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
