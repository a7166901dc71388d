#include "platform/Printer.h"
#include "platform/Erro.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QString g_pastaPdf;
QStringList g_arquivosPdf;
int g_contadorPdf = 0;
std::function<QStringList()> g_lista;

double Unidades_Por_Polegada(int modo) {
    switch (modo) {
    case 1: return 1440.0;
    case 2: return 72.0;
    case 5: return 1.0;
    case 6: return 25.4;
    case 7: return 2.54;
    }
    return 0;
}

QPageSize::PageSizeId Tamanho_Papel(int papel) {
    switch (papel) {
    case 1: return QPageSize::Letter;
    case 5: return QPageSize::Legal;
    case 8: return QPageSize::A3;
    case 9: return QPageSize::A4;
    case 11: return QPageSize::A5;
    }
    return QPageSize::Custom;
}

[[noreturn]] void Valor_Improprio() { Levanta_Erro(380, QStringLiteral("Valor impróprio para o Campo especificado.")); }

QString Proximo_Pdf() {
    QDir().mkpath(g_pastaPdf);
    QString nome;
    do {
        nome = QDir(g_pastaPdf).filePath(QStringLiteral("impressao-%1.pdf").arg(++g_contadorPdf, 4, 10, QLatin1Char('0')));
    } while (QFileInfo::exists(nome));
    return nome;
}
}  // namespace

struct Printer::Documento {
    QPrinter impressora{QPrinter::HighResolution};
    QPainter pintor;
    QString arquivo;
};

Printer::Printer(const QString& deviceName) : nome_(deviceName) {}

Printer::~Printer() {
    if (doc_ && doc_->pintor.isActive()) doc_->pintor.end();
}

QString Printer::DeviceName() const { return nome_.isEmpty() ? QPrinterInfo::defaultPrinterName() : nome_; }

void Printer::setPaperSize(int v) {
    if (Tamanho_Papel(v) == QPageSize::Custom) Valor_Improprio();
    papel_ = v;
}

void Printer::setOrientation(int v) {
    if (v != 1 && v != 2) Valor_Improprio();
    orientacao_ = v;
}

void Printer::setScaleMode(int v) {
    const double nova = Unidades_Por_Polegada(v);
    if (nova == 0) Valor_Improprio();
    const double antiga = Unidades_Por_Polegada(escala_);
    // The position stays where it is on paper, now told in the new unit.
    x_ = (x_ - esquerda_) / antiga * nova;
    y_ = (y_ - topo_) / antiga * nova;
    escala_ = v;
    esquerda_ = topo_ = 0;
}

void Printer::setFontSize(double v) {
    if (!(v > 0) || v > 2160) Valor_Improprio();
    tamanho_ = v;
}

double Printer::porUnidade() const {
    const int dpi = doc_ ? doc_->impressora.resolution() : 1200;
    return dpi / Unidades_Por_Polegada(escala_);
}

void Printer::comeca() {
    if (doc_) return;
    auto d = std::make_unique<Documento>();
    QPrinter& p = d->impressora;
    if (!g_pastaPdf.isEmpty()) {
        d->arquivo = Proximo_Pdf();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(d->arquivo);
    } else {
        const QString nome = DeviceName();
        if (nome.isEmpty() || QPrinterInfo::printerInfo(nome).isNull())
            Levanta_Erro(482, QStringLiteral("Impressora inexistente: ") + nome);
        p.setPrinterName(nome);
    }
    p.setFullPage(true);
    p.setPageSize(QPageSize(Tamanho_Papel(papel_)));
    p.setPageOrientation(orientacao_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    p.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p.setDocName(QStringLiteral("Tesouraria"));
    if (!d->pintor.begin(&p)) Levanta_Erro(482, QStringLiteral("A impressora não iniciou o documento."));
    doc_ = std::move(d);
}

bool Printer::Imprimindo() const { return doc_ != nullptr; }

void Printer::Print(const QString& texto) {
    comeca();
    QPainter& pt = doc_->pintor;
    QFont f(fonte_);
    f.setPointSizeF(tamanho_);
    f.setBold(negrito_);
    pt.setFont(f);
    pt.setPen(Qt::black);
    const QFontMetricsF m(pt.font(), pt.device());
    const double u = porUnidade();
    const QPointF origem((x_ - esquerda_) * u, (y_ - topo_) * u + m.ascent());
    pt.drawText(origem, texto);
    y_ += m.height() / u;
    x_ = esquerda_;
}

void Printer::PaintPicture(const QImage& figura, double x, double y, double largura, double altura) {
    if (figura.isNull()) Levanta_Erro(481, QStringLiteral("Figura vazia."));
    comeca();
    const double u = porUnidade();
    doc_->pintor.drawImage(QRectF((x - esquerda_) * u, (y - topo_) * u, largura * u, altura * u), figura);
}

void Printer::PaintPicture(const QPixmap& figura, double x, double y, double largura, double altura) {
    PaintPicture(figura.toImage(), x, y, largura, altura);
}

void Printer::NewPage() {
    comeca();
    if (!doc_->impressora.newPage()) Levanta_Erro(484, QStringLiteral("A impressora não avançou a página."));
    x_ = esquerda_;
    y_ = topo_;
}

void Printer::EndDoc() {
    if (!doc_) return;
    std::unique_ptr<Documento> d = std::move(doc_);
    const bool ok = d->pintor.end();
    x_ = y_ = 0;
    if (!ok) Levanta_Erro(484, QStringLiteral("A impressora não concluiu o documento."));
    if (!d->arquivo.isEmpty()) g_arquivosPdf << d->arquivo;
}

void Printer::KillDoc() {
    if (!doc_) return;
    std::unique_ptr<Documento> d = std::move(doc_);
    d->pintor.end();
    x_ = y_ = 0;
    if (!d->arquivo.isEmpty()) QFile::remove(d->arquivo);
}

void Printer::DefinePastaPdf(const QString& pasta) {
    g_pastaPdf = pasta;
    g_arquivosPdf.clear();
}

QString Printer::PastaPdf() { return g_pastaPdf; }
QStringList Printer::ArquivosPdf() { return g_arquivosPdf; }

QStringList Printers::Nomes() { return g_lista ? g_lista() : QPrinterInfo::availablePrinterNames(); }
int Printers::Count() { return int(Nomes().size()); }
QString Printers::DeviceName(int i) {
    const QStringList n = Nomes();
    if (i < 0 || i >= n.size()) Levanta_Erro(9, QStringLiteral("Subscrito fora do intervalo."));
    return n[i];
}
void Printers::DefineLista(std::function<QStringList()> lista) { g_lista = std::move(lista); }

Printer& Impressora() {
    static Printer p;
    return p;
}

void Define_Impressora(const QString& deviceName) {
    Printer& p = Impressora();
    // A document left open on the previous printer goes to that printer.
    if (p.Imprimindo()) p.EndDoc();
    p.nome_ = deviceName;
}
