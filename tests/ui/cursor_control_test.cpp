#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "MivoraCur/MivoraCursor.h"

// The cursor control on its own, under QT_SCALE_FACTOR=2 (set before the application starts),
// and the hint files beside the built program.
namespace {

constexpr QRgb kGreen = 0xFF00FF00;

// A w x h picture at the given device-pixel ratio, one colour.
QPixmap Solid(int w, int h, QColor colour, qreal ratio = 1) {
  QPixmap p(static_cast<int>(w * ratio), static_cast<int>(h * ratio));
  p.fill(colour);
  p.setDevicePixelRatio(ratio);
  return p;
}

// A 20 x 20 mask: green with a red square at (5, 5)-(14, 14) and a blue one at (0, 0)-(3, 3).
QPixmap TwoSquareMask() {
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(kGreen);
  QPainter p(&img);
  p.fillRect(5, 5, 10, 10, Qt::red);
  p.fillRect(0, 0, 4, 4, Qt::blue);
  p.end();
  return QPixmap::fromImage(img);
}

}  // namespace

class CursorControlTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void newControlHasNoPicturesAndTheDefaultColour() {
    MivoraCursor c;
    QVERIFY(c.Picture().isNull());
    QVERIFY(c.MaskPicture().isNull());
    QCOMPARE(c.MaskColor(), 65280u);
    QCOMPARE(c.property("MaskColor").toUInt(), 65280u);
  }

  void settersSignalTheirNamesAndPropertiesWork() {
    MivoraCursor c;
    QSignalSpy spy(&c, &MivoraCursor::PropertyChanged);
    QVERIFY(c.setProperty("Picture", Solid(20, 20, Qt::white)));
    QVERIFY(c.setProperty("MaskPicture", TwoSquareMask()));
    QVERIFY(c.setProperty("MaskColor", 0xFF0000u));
    QStringList names;
    for (const auto& args : spy) names << args.at(0).toString();
    QCOMPARE(names, (QStringList{QStringLiteral("Picture"), QStringLiteral("MaskPicture"),
                                 QStringLiteral("MaskColor")}));
    QCOMPARE(c.size(), QSize(20, 20));
  }

  void theMaskColourCutsAndANewOneRecutsAtOnce() {
    QWidget host;
    host.resize(100, 100);
    auto* c = new MivoraCursor(&host);
    c->SetPicture(Solid(20, 20, Qt::white));
    c->SetMaskPicture(TwoSquareMask());
    host.show();
    // Green see-through: the red and blue squares are the control.
    QVERIFY(!c->mask().contains(QPoint(18, 18)));
    QVERIFY(c->mask().contains(QPoint(8, 8)));
    QVERIFY(c->mask().contains(QPoint(1, 1)));
    QVERIFY(!host.childAt(18, 18));  // the host itself
    QCOMPARE(host.childAt(8, 8), c);
    // Blue (0xFF0000 as 0x00BBGGRR) see-through: green and red now show, blue does not.
    c->SetMaskColor(0xFF0000);
    QVERIFY(c->mask().contains(QPoint(18, 18)));
    QVERIFY(c->mask().contains(QPoint(8, 8)));
    QVERIFY(!c->mask().contains(QPoint(1, 1)));
    QVERIFY(!host.childAt(1, 1));
  }

  void anAllGreenMaskLeavesNothingToSeeOrHit() {
    QWidget host;
    host.resize(100, 100);
    auto* c = new MivoraCursor(&host);
    c->SetPicture(Solid(20, 20, Qt::white));
    c->SetMaskPicture(Solid(20, 20, QColor(0, 255, 0)));
    host.show();
    for (int y = 0; y < 20; y += 3)
      for (int x = 0; x < 20; x += 3) QVERIFY(!host.childAt(x, y));
    const QImage shown = host.grab().toImage();
    QVERIFY(shown.pixelColor(shown.width() / 20, shown.height() / 20) != QColor(Qt::white));
  }

  void reportsMovesWithButtonAndShiftBits() {
    MivoraCursor c;
    c.SetPicture(Solid(20, 20, Qt::white));
    QSignalSpy spy(&c, &MivoraCursor::MouseMove);
    struct {
      Qt::MouseButtons buttons;
      Qt::KeyboardModifiers mods;
      int button, shift;
    } cases[] = {
        {Qt::NoButton, Qt::NoModifier, 0, 0},
        {Qt::LeftButton, Qt::ShiftModifier, 1, 1},
        {Qt::RightButton, Qt::ControlModifier, 2, 2},
        {Qt::MiddleButton | Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, 5, 5},
    };
    for (const auto& k : cases) {
      QMouseEvent move(QEvent::MouseMove, QPointF(7, 9), QPointF(7, 9), Qt::NoButton, k.buttons,
                       k.mods);
      QApplication::sendEvent(&c, &move);
      QCOMPARE(spy.last().at(0).toInt(), k.button);
      QCOMPARE(spy.last().at(1).toInt(), k.shift);
      QCOMPARE(spy.last().at(2).toFloat(), 7.0f);
      QCOMPARE(spy.last().at(3).toFloat(), 9.0f);
    }
  }

  void thePropertyBagRoundTrips() {
    MivoraCursor a;
    a.SetPicture(Solid(20, 20, Qt::white));
    a.SetMaskPicture(TwoSquareMask());
    a.SetMaskColor(0x123456);
    QVariantMap bag;
    a.WriteProperties(bag);
    MivoraCursor b;
    b.ReadProperties(bag);
    QCOMPARE(b.Picture().toImage(), a.Picture().toImage());
    QCOMPARE(b.MaskPicture().toImage(), a.MaskPicture().toImage());
    QCOMPARE(b.MaskColor(), 0x123456u);
    // The default colour is not written; absent names read as none and the default.
    a.SetMaskColor(65280);
    a.WriteProperties(bag);
    QVERIFY(!bag.contains(QStringLiteral("MaskColor")));
    MivoraCursor c;
    c.ReadProperties({});
    QVERIFY(c.Picture().isNull());
    QCOMPARE(c.MaskColor(), 65280u);
  }

  void createsOnlyItsOwnClass() {
    QWidget* made = CreateMivoraControl(QStringLiteral("CursMivora.MivoraCursor"));
    QVERIFY(qobject_cast<MivoraCursor*>(made));
    delete made;
    QVERIFY(!CreateMivoraControl(QStringLiteral("CursMivora.Other")));
    QVERIFY(!CreateMivoraControl(QString()));
  }

  void aTwicePictureKeepsItsLogicalSize() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    QImage art(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) art.setPixel(x, y, qRgb(x * 6, y * 6, 128));
    QPixmap twice = QPixmap::fromImage(art);
    twice.setDevicePixelRatio(2);
    QWidget host;
    host.resize(100, 100);
    auto* c = new MivoraCursor(&host);
    c->SetPicture(twice);
    c->SetMaskPicture(Solid(20, 20, Qt::black, 2));
    host.show();
    QCOMPARE(c->size(), QSize(20, 20));
    QCOMPARE(c->mask().boundingRect(), QRect(0, 0, 20, 20));
    QImage grabbed = c->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grabbed.devicePixelRatio(), 2.0);
    grabbed.setDevicePixelRatio(1);
    QCOMPARE(grabbed.size(), QSize(40, 40));
    QCOMPARE(grabbed, art);
  }

  void exportsOnlyTheListedSymbols() {
    QFile map(QStringLiteral(MIVORA_TEST_DATA "/../../src/cursorcontrol/MivoraCur.map"));
    QVERIFY(map.open(QIODevice::ReadOnly));
    QList<QRegularExpression> listed;
    const QRegularExpression quoted(QStringLiteral("^\\s*\"?([^\";]+)\"?;\\s*$"));
    bool global = false;
    for (const QString& line : QString::fromUtf8(map.readAll()).split(u'\n')) {
      if (line.contains(QStringLiteral("global:"))) global = true;
      if (line.contains(QStringLiteral("local:"))) global = false;
      const auto m = quoted.match(line);
      if (global && m.hasMatch() && !line.contains(u'{'))
        listed << QRegularExpression(QRegularExpression::wildcardToRegularExpression(
            m.captured(1).trimmed(), QRegularExpression::UnanchoredWildcardConversion));
    }
    QVERIFY(listed.size() >= 5);
    QProcess nm;
    nm.start(QStringLiteral("nm"),
             {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral("-C"),
              QStringLiteral(MIVORA_PROGRAM_DIR "/libMivoraCur.so")});
    QVERIFY(nm.waitForFinished());
    QStringList exported;
    for (const QString& line : QString::fromUtf8(nm.readAllStandardOutput()).split(u'\n')) {
      const QString name = line.section(u' ', 2).trimmed();
      if (!name.isEmpty()) exported << name;
    }
    QVERIFY(exported.contains(QStringLiteral("CreateMivoraControl(QString const&, QWidget*)")));
    QVERIFY(exported.contains(QStringLiteral("MivoraCursor::staticMetaObject")));
    for (const QString& name : exported) {
      bool ok = false;
      for (const QRegularExpression& re : listed) {
        const QString anchored = QStringLiteral("\\A(?:%1)\\z").arg(re.pattern());
        if (QRegularExpression(anchored).match(name).hasMatch()) ok = true;
      }
      QVERIFY2(ok, qPrintable(name));
    }
  }

  void everyHintFileIsThereAtBothScalesWithASeeThroughTopBand() {
    const QStringList masks = {QStringLiteral("Mask"),   QStringLiteral("MaskL"),
                               QStringLiteral("MaskR"),  QStringLiteral("MaskC"),
                               QStringLiteral("MaskLR"), QStringLiteral("MaskCR"),
                               QStringLiteral("MaskLCR")};
    const QStringList pictures = {
        QStringLiteral("F3MaskLCR"), QStringLiteral("F16MaskR"),   QStringLiteral("F7MaskLR"),
        QStringLiteral("F7MaskLCR"), QStringLiteral("F12MaskLCR"), QStringLiteral("F14MaskLCR"),
        QStringLiteral("F9MaskCR"),  QStringLiteral("F9MaskC"),    QStringLiteral("F14MaskR"),
        QStringLiteral("F5MaskL"),   QStringLiteral("F17MaskL"),   QStringLiteral("F21MaskL"),
        QStringLiteral("F22MaskLr")};
    const QDir dir(QStringLiteral(MIVORA_PROGRAM_DIR));
    for (const QString& name : masks + pictures) {
      const QImage one(dir.filePath(name + QStringLiteral(".bmp")));
      const QImage two(dir.filePath(name + QStringLiteral("@2x.bmp")));
      QVERIFY2(!one.isNull() && !two.isNull(), qPrintable(name));
      QCOMPARE(two.size(), one.size() * 2);
      if (!masks.contains(name)) continue;
      // The band above the mouse is taller than a default grid row (16 pixels at 96 dpi).
      for (const QImage& img : {one, two}) {
        const int band = 20 * img.width() / one.width();
        for (int y = 0; y < band; ++y)
          for (int x = 0; x < img.width(); ++x)
            QVERIFY2(img.pixel(x, y) == kGreen, qPrintable(name));
        // And the mask is not empty: something shows below the band.
        QVERIFY(img.pixel(img.width() * 47 / 115, img.height() * 55 / 120) != kGreen);
      }
    }
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  CursorControlTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "cursor_control_test.moc"
