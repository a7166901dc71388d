// The drop-down list of a combo box shows accented capitals whole: no
// row clips the accent above an "Á" or the cedilla below a "Ç".
#include "support/Registro.h"
#include "platform/Controles.h"
#include "support/Tabela.h"
#include <QAbstractItemView>
#include <QImage>
#include <QTest>
#include <cstdlib>

namespace {
// Whether any pixel of the image's line y, between x0 and x1, differs
// from the row's background enough to be a stroke of a letter.
bool temTinta(const QImage& img, int y, int x0, int x1, QRgb fundo) {
    for (int x = x0; x < x1; ++x) {
        const QRgb p = img.pixel(x, y);
        if (std::abs(qGray(p) - qGray(fundo)) > 40) return true;
    }
    return false;
}
struct Fonte { int estilo; QString familia; double pontos; };  // no family: the system's
}  // namespace

class tst_ListaCombo : public QObject {
    Q_OBJECT
private slots:
    void acentosInteiros_data() {
        Tabela<Fonte>({{"digitável, fonte do sistema", {0, {}, 9.0}},
                       {"digitável, fonte grande", {0, {}, 14.25}},
                       {"só lista, fonte do sistema", {2, {}, 9.0}},
                       {"só lista, Courier New", {2, "Courier New", 9.0}}});
    }
    void acentosInteiros() {
        QFETCH(Fonte, caso);
        ComboBox c(nullptr, caso.estilo);
        QFont f = caso.familia.isEmpty() ? c.font() : QFont(caso.familia);
        f.setPointSizeF(caso.pontos);
        c.setFont(f);
        c.AddItem(QStringLiteral("OUTRO"));
        c.AddItem(QStringLiteral("ÁÉÊÓÚÇ ÁGUA"));  // a row that is not the current one
        c.resize(300, c.sizeHint().height());
        c.show();
        c.showPopup();
        QAbstractItemView* v = c.view();
        QTRY_VERIFY(v->isVisible());
        const QRect r = v->visualRect(c.model()->index(1, 0));
        const QImage img = v->viewport()->grab().toImage();
        const int largura = QFontMetrics(v->font()).horizontalAdvance(QStringLiteral("ÁÉÊÓÚÇ ÁGUA"));
        const QRgb fundo = img.pixel(img.width() - 3, r.center().y());
        // Text cut by its row ends on the row's edge; whole text leaves the
        // row's first and last lines blank.
        QVERIFY(temTinta(img, r.center().y(), r.left(), r.left() + largura + 8, fundo));
        QVERIFY(!temTinta(img, r.top(), r.left(), r.left() + largura + 8, fundo));
        QVERIFY(!temTinta(img, r.bottom(), r.left(), r.left() + largura + 8, fundo));
        c.hidePopup();
    }
};

REGISTRA_TESTE(tst_ListaCombo)
#include "tst_ListaCombo.moc"
