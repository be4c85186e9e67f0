#include "platform/ui/resource_icon.h"

#include <QDir>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QtEndian>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace platform::ui {

namespace {

// A PNG's size from its header (the IHDR chunk that opens it); invalid when
// the file is no PNG.
QSize PngSize(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = in.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR") {
        return {};
    }
    const auto number = [&head](int at) { return qFromBigEndian<quint32>(head.constData() + at); };
    return QSize(static_cast<int>(number(16)), static_cast<int>(number(20)));
}

// The images of one folder, decoded when first drawn. Every icon made from
// the folder while one is alive shares them: the application's icon and its
// windows' decode them once.
struct DecodedImages {
    std::optional<QIcon> icon;
};

std::shared_ptr<DecodedImages> SharedImages(const QString& folder) {
    static std::map<QString, std::weak_ptr<DecodedImages>> shared;
    std::weak_ptr<DecodedImages>& entry = shared[folder];
    std::shared_ptr<DecodedImages> images = entry.lock();
    if (images == nullptr) {
        images = std::make_shared<DecodedImages>();
        entry = images;
    }
    return images;
}

// Decoding the PNGs is most of what an icon costs at start, and a window
// asks for its icon's images only once it is shown on a display (never
// offscreen, nor for a window that is never shown). This engine knows the
// sizes from the files' headers and decodes the images the first time any
// is drawn; from then on Qt's own icon of the same files answers.
class ResourceIconEngine final : public QIconEngine {
  public:
    ResourceIconEngine(QStringList files, std::shared_ptr<DecodedImages> images)
        : files_(std::move(files)), images_(std::move(images)) {
        for (const QString& file : files_) {
            const QSize size = PngSize(file);
            if (size.isValid() && !sizes_.contains(size)) {
                sizes_.push_back(size);
            }
        }
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Loaded().pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        // The files are added for the normal mode, off state only.
        return mode == QIcon::Normal && state == QIcon::Off ? sizes_ : QList<QSize>();
    }
    bool isNull() override { return files_.isEmpty(); }
    QString key() const override { return QStringLiteral("platform.ResourceIconEngine"); }
    QIconEngine* clone() const override { return new ResourceIconEngine(*this); }

  private:
    ResourceIconEngine(const ResourceIconEngine& other) = default;

    QIcon& Loaded() {
        std::optional<QIcon>& icon = images_->icon;
        if (!icon) {
            icon.emplace();
            for (const QString& file : files_) {
                // Named as PNG, the image is read by Qt's own reader: no
                // image format plugin is loaded to guess the format.
                QImageReader reader(file, "png");
                reader.setAutoDetectImageFormat(false);
                QImage image = reader.read();
                if (!image.isNull()) {
                    icon->addPixmap(QPixmap::fromImage(std::move(image)));
                }
            }
        }
        return *icon;
    }

    QStringList files_;
    QList<QSize> sizes_;
    std::shared_ptr<DecodedImages> images_;
};

}  // namespace

QIcon ResourceIcon(const QString& folder) {
    const QDir images(folder, QStringLiteral("*.png"));
    QStringList files;
    for (const QString& name : images.entryList(QDir::Files)) {
        files.push_back(images.filePath(name));
    }
    if (files.isEmpty()) {
        return QIcon();
    }
    return QIcon(new ResourceIconEngine(std::move(files), SharedImages(folder)));
}

}  // namespace platform::ui
