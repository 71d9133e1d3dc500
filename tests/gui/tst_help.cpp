// The help window with the manual's pages, F1 in the main window, and the Info window with its
// links.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <fstream>
#include <map>
#include <vector>

#include "app/presentation.h"
#include "form_fixture.h"
#include "gui/about_window.h"
#include "gui/help_window.h"
#include "text/language.h"

namespace rs::gui {
namespace {

using test::FormFixture;
using Page = HelpWindow::Page;

QImage LoadedImage(QTextBrowser* browser, const QUrl& url) {
    const QVariant data = browser->loadResource(QTextDocument::ImageResource, url);
    if (data.typeId() == QMetaType::QImage) return data.value<QImage>();
    return QImage::fromData(data.toByteArray());
}

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    // In each language every page of the contents opens with its title, from that language's
    // folder; every picture it shows loads at the size the page gives it, and together the pages
    // show every picture the build drew; every link leads to a page of the manual. Both
    // languages hold the same pages and the same pictures.
    void everyPageOpensWithItsPicturesAndLinks() {
        const struct LanguageGuard {
            ~LanguageGuard() { text::UseLanguage(text::Language::German, {}); }
        } guard;
        std::map<QString, QStringList> pagesOf;
        std::map<QString, QStringList> picturesOf;
        for (const text::Language language : {text::Language::German, text::Language::English}) {
            text::UseLanguage(language, {});
            const QString code = QString::fromUtf8(text::LanguageCode(language).data(), 2);
            const QString root = ":/handbuch/" + code + "/";
            HelpWindow help;
            auto* browser = help.findChild<QTextBrowser*>("txtHelpPage");
            QVERIFY(browser);
            QSet<QString> shown;
            for (const HelpWindow::PageInfo& info : HelpWindow::Pages()) {
                help.ShowPage(info.page);
                QCOMPARE(help.CurrentPage(), info.page);
                QCOMPARE(browser->source().path(), root.mid(1) + info.file);
                QVERIFY2(!browser->documentTitle().isEmpty(), info.file);
                QFile page(root + info.file);
                QVERIFY(page.open(QIODevice::ReadOnly));
                QVERIFY2(page.readAll().contains("<html lang=\"" + code.toUtf8() + "\">"),
                         qPrintable(page.fileName()));
                const QTextDocument* document = browser->document();
                for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                    for (auto it = block.begin(); !it.atEnd(); ++it) {
                        const QTextCharFormat format = it.fragment().charFormat();
                        if (format.isImageFormat()) {
                            const QTextImageFormat image = format.toImageFormat();
                            const QUrl url = browser->source().resolved(QUrl(image.name()));
                            QVERIFY2(url.path().startsWith(root.mid(1)), qPrintable(url.path()));
                            const QImage loaded = LoadedImage(browser, url);
                            QVERIFY2(!loaded.isNull(), qPrintable(url.toString()));
                            QCOMPARE(QSize(qRound(image.width()), qRound(image.height())),
                                     loaded.size());
                            shown.insert(url.fileName());
                        }
                        if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                            const QUrl target =
                                browser->source().resolved(QUrl(format.anchorHref()));
                            QVERIFY2(target.path().startsWith(root.mid(1)) &&
                                         QFile::exists(":" + target.path()),
                                     qPrintable(format.anchorHref()));
                        }
                    }
                }
            }
            const QStringList drawn = QDir(root + "bilder").entryList(QDir::Files);
            QVERIFY(!drawn.isEmpty());
            QCOMPARE(shown, QSet<QString>(drawn.begin(), drawn.end()));
            pagesOf[code] = QDir(root).entryList({"*.html"}, QDir::Files);
            picturesOf[code] = drawn;
        }
        QCOMPARE(pagesOf["en"], pagesOf["de"]);
        QCOMPARE(pagesOf["de"].size(), static_cast<qsizetype>(HelpWindow::Pages().size()));
        QCOMPARE(picturesOf["en"], picturesOf["de"]);
    }

    // F1 opens the help on the page of the control with the focus; in beam mode the value
    // boxes belong to the beam.
    void f1OpensThePageOfTheFocusedControl() {
        FormFixture f(test::Example("relay-1to1.ini"));
        QVERIFY(f.exposed);
        auto* tabs = f.Get<QTabWidget>("tabOptions");
        const struct {
            int tab;
            const char* control;
            Page page;
        } cases[] = {{0, "txtVarType_0", Page::KeyParameters},
                     {1, "txtVarLimHi_0", Page::Sliders},
                     {2, "chkAdvOpt", Page::Advanced},
                     {0, "comHelp", Page::Contents}};
        for (const auto& c : cases) {
            tabs->setCurrentIndex(c.tab);
            QWidget* control = f.form->Control(c.control);
            control->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), control);
            QTest::keyClick(control, Qt::Key_F1);
            QTRY_VERIFY(f.form->Help() && f.form->Help()->isVisible());
            QCOMPARE(f.form->Help()->CurrentPage(), c.page);
            f.form->Help()->close();
            f.form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
        }
        QCOMPARE(HelpPageFor(f.form->Control("txtVarType_0"), true), Page::GaussianBeams);
    }

    // Enter in the find field goes to the next hit on the page, then to the pages that follow;
    // a word that is nowhere is reported as not found.
    void findLooksThroughThePageAndThenTheOthers() {
        HelpWindow help;
        help.ShowPage(Page::Contents);
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* find = help.findChild<QLineEdit*>("txtHelpFind");
        auto* browser = help.findChild<QTextBrowser*>("txtHelpPage");
        auto* result = help.findChild<QLabel*>("lblHelpFind");
        QTest::keyClicks(find, "Objekttaille");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(help.CurrentPage(), Page::GaussianBeams);
        QCOMPARE(browser->textCursor().selectedText(), "Objekttaille");
        const int first = browser->textCursor().position();
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(help.CurrentPage(), Page::GaussianBeams);
        QVERIFY(browser->textCursor().position() > first);

        find->clear();
        QTest::keyClicks(find, "Quasselstrippe");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(result->text(), "nicht gefunden");
        QCOMPARE(help.CurrentPage(), Page::GaussianBeams);
    }

    // Info names the version, the toolkit, this window's settings file and the wavelength list
    // beside it; its links hand the
    // installed manual (else the build's) and the settings folder to the desktop.
    void aboutShowsTheInstallationAndOpensItsLinks() {
        {
            FormFixture f;
            QVERIFY(f.exposed);
            f.Click("comAbout");
            QTRY_VERIFY(f.form->About() && f.form->About()->isVisible());
            const AboutWindow* about = f.form->About();
            QCOMPARE(about->findChild<QLabel*>("lblAboutVersion")->text(),
                     QString::fromUtf8(app::Version()));
            QCOMPARE(about->findChild<QLabel*>("lblAboutQt")->text(), QString(qVersion()));
            QCOMPARE(about->findChild<QLineEdit*>("txtAboutSettings")->text(),
                     QString::fromStdString(f.path.string()));
            QCOMPARE(about->findChild<QLineEdit*>("txtAboutWavelengths")->text(),
                     QString::fromStdString(
                         (f.path.parent_path() / "UserData" / "WaveLen.lst").string()));
        }

        test::TempDir dir;
        std::filesystem::create_directories(dir / "bin");
        std::filesystem::create_directories(dir / "share/doc/raysketcher/de");
        std::ofstream(dir / "share/doc/raysketcher/index.html") << "<html></html>";
        std::ofstream(dir / "share/doc/raysketcher/de/index.html") << "<html></html>";
        std::filesystem::create_directories(dir / "config");
        std::vector<QUrl> opened;
        const auto record = [&opened](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        const auto click = [](const AboutWindow& window, const char* name) {
            window.findChild<QPushButton*>(name)->click();
        };

        AboutWindow installed({dir / "config" / "Raysketcher.INI", "", "", dir / "bin"}, record);
        click(installed, "comAboutManual");
        click(installed, "comAboutUserFolder");
        QCOMPARE(opened.size(), 2u);
        QCOMPARE(opened[0], QUrl::fromLocalFile(QString::fromStdString(
                                (dir / "share/doc/raysketcher/de/index.html").string())));
        QCOMPARE(opened[1], QUrl::fromLocalFile(QString::fromStdString((dir / "config").string())));

        // Run from the build tree: the manual the build wrote. A settings folder that was never
        // saved into is not opened but explained.
        const std::filesystem::path inBuild =
            QCoreApplication::applicationDirPath().toStdString();  // this test lies in the build
        AboutWindow built({dir / "new" / "Raysketcher.INI", "", "", inBuild}, record);
        click(built, "comAboutManual");
        QCOMPARE(opened.size(), 3u);
        const QString index = opened[2].toLocalFile();
        QVERIFY2(index.endsWith("share/doc/raysketcher/de/index.html") && QFile::exists(index),
                 qPrintable(index));
        click(built, "comAboutUserFolder");
        QCOMPARE(opened.size(), 3u);
        QVERIFY(built.findChild<QLabel*>("lblAboutStatus")->text().contains("gibt es noch nicht"));
    }
};

}  // namespace
}  // namespace rs::gui

int RunHelpTest(int argc, char** argv) {
    rs::gui::HelpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help.moc"
