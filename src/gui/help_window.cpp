#include "gui/help_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace rs::gui {
namespace {

constexpr const char* kOverview = R"(
<h3>Raysketcher</h3>
<p>Raysketcher berechnet eine dünne Linse oder einen Spiegel in paraxialer Näherung und als
Transformator eines Gaußschen Strahls.</p>
<h4>Parameter</h4>
<p>Wählen Sie auf der Karte <i>Allgemeine Parameter</i> drei Größen aus (zum Beispiel Brennweite,
Objektweite und Objekthöhe) und geben Sie ihre Werte ein. Ein Wert wird mit der Eingabetaste
oder beim Verlassen des Feldes übernommen; Einheiten wie <tt>mm</tt>, <tt>cm</tt> oder
<tt>deg</tt> dürfen angehängt werden. Optional legt ein Aperturparameter die Öffnung fest.</p>
<h4>Regler</h4>
<p>Jeder gewählte Parameter erhält einen Regler zwischen einem unteren und einem oberen
Grenzwert. Beim Verschieben wird das System laufend neu berechnet.</p>
<h4>Erweiterte Optionen</h4>
<p>Hauptebenenabstand, Brechungsindizes im Objekt- und Bildraum und die Wellenlänge für die
Beugungsbetrachtung.</p>
<h4>Gaußstrahl</h4>
<p>Mit <i>Gaußstrahl</i> wird dasselbe Element als Transformator eines Laserstrahls berechnet:
Taillenradius, Divergenz und Rayleighlänge auf beiden Seiten, M², Detektor, Schärfentiefe und
ein Diodenlaser mit zwei Achsen.</p>
<p>Die Schaltfläche <i>...</i> neben der Wellenlänge bietet Laserlinien, die Linien der
Glaskataloge und eigene Wellenlängen zur Auswahl; die eigenen stehen je Zeile als
<tt>Name|Wellenlänge in nm</tt> in <tt>UserData/WaveLen.lst</tt> neben der Einstellungsdatei.
Die Karte <i>Linsen</i> der Extrainformationen nennt die Katalog-Linsen, deren Brennweite und
Durchmesser zum berechneten Strahl passen.</p>
)";

constexpr const char* kNewFeatures = R"(
<h3>Neu in dieser Version</h3>
<ul>
<li>Einheiten für jede Größe einzeln wählbar, metrisch oder imperial, mit automatischer
Skalierung.</li>
<li>Gaußstrahl-Modus mit Beugungsmaßzahl M², Detektor, kleinstem Spot und Schärfentiefe.</li>
<li>Diodenlaser mit rechteckigem Strahl und Zirkularisation durch gekreuzte Zylinderlinsen.</li>
<li>Schärfentiefe mit frei wählbarem Unschärfekreis.</li>
<li>Benutzerdefinierte Symbole für alle Parameter und Kardinalpunkte.</li>
</ul>
<p>Dieser Hinweis erscheint nur beim ersten Start. Sie finden ihn jederzeit unter
<i>Hilfe...</i> wieder.</p>
)";

QTextBrowser* PageOf(const char* html, const char* name) {
    auto* page = new QTextBrowser;
    page->setObjectName(name);
    page->setOpenExternalLinks(false);
    page->setHtml(QString::fromUtf8(html));
    return page;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp");
    setWindowTitle("Raysketcher – Hilfe");
    // The help never keeps the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    pages_ = new QTabWidget;
    pages_->addTab(PageOf(kOverview, "txtHelpOverview"), "&Übersicht");
    pages_->addTab(PageOf(kNewFeatures, "txtHelpNewFeatures"), "&Neue Funktionen");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText("&Schließen");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    resize(560, 460);
}

void HelpWindow::ShowPage(Page page) {
    pages_->setCurrentIndex(static_cast<int>(page));
    show();
    raise();
    activateWindow();
}

HelpWindow::Page HelpWindow::CurrentPage() const {
    return pages_->currentIndex() == 1 ? Page::NewFeatures : Page::Overview;
}

}  // namespace rs::gui
