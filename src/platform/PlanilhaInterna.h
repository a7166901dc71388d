#pragma once
// Inside the workbook editor: the archive and its XML parts. Only the
// editor's own files include this, its tests, and the statement's
// benchmark, whose floor deflates its entries the same way; nothing above
// the platform layer sees libzip or pugixml.
#include "platform/Planilha.h"
#include <QByteArray>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>
#include <zip.h>

namespace Planilha_Interna {

[[noreturn]] void Falha(long numero, const QString& descricao = {});
[[noreturn]] void Nao_E_Planilha(const QString& caminho);
[[noreturn]] void Sem_Memoria();

// One XML part of the archive, parsed on first use and written back only
// when changed.
struct Parte {
    std::string nome;  // the entry's name in the archive
    pugi::xml_document doc;
    std::string prefixo;  // "x:" when the part's elements carry a prefix
    bool mudou = false;

    // An element's name with the part's prefix; the pointer stays valid
    // as long as the part (pugixml's named iterators keep it).
    const char* el(const char* local) const {
        if (prefixo.empty()) return local;
        std::string& completo = nomes[local];
        if (completo.empty()) completo = prefixo + local;
        return completo.c_str();
    }
    mutable std::map<std::string, std::string> nomes;
    pugi::xml_node raiz() const { return doc.document_element(); }
};

constexpr int MaxColuna = 16384;  // XFD
constexpr int MaxLinha = 1048576;

// A cell address: column and row from 1.
struct Endereco {
    int coluna = 0;
    int linha = 0;
};

// A worksheet being edited: its rows by number.
struct Folha {
    QString nome;
    Parte* parte = nullptr;
    pugi::xml_node dados;  // sheetData
    std::map<int, pugi::xml_node> linhas;
    // The cell last found: a run walks a row's cells left to right, and
    // the next one is looked for from there.
    pugi::xml_node ultima;
    Endereco ondeUltima;
    // The cells written, whose dependent formulas lose their values.
    std::vector<Endereco> escritas;
    // The blocks of cells that an array formula or a data table fills as
    // a whole, from its first cell to its last; those of one cell are not
    // kept.
    std::vector<std::pair<Endereco, Endereco>> matrizes;
};

Endereco Le_Endereco(const QString& celula);
std::string Texto_Endereco(const Endereco& e);
// A column's letters: 28 gives "AB".
std::string Letras_Coluna(int coluna);
// The column of an "r" attribute ("AB12" gives 28); 0 when it has none,
// -1 when its letters go past the last column.
int Coluna_De(const char* r);
// "A1:Z500" (or "B5", or "$B$5") as its corners; false when either is
// not a cell of the sheet.
bool Le_Intervalo(const char* ref, Endereco& de, Endereco& ate);
// The last cell that the formula of the cell `e`, of type `tipo` (its
// "t") and range `ref`, fills: the far corner of an array formula's or a
// data table's range ("E4:E6" gives E6); `e` itself for any other.
Endereco Fim_Da_Formula(std::string_view tipo, std::string_view ref, const Endereco& e);

// One part of a reference in a formula: a column ("$AB") or a row ("$12").
struct Parte_Ref {
    bool ancorada = false;  // "$": it stays where the formula is copied
    int valor = 0;
};

// A reference of a formula: a cell or a range, on the formula's own sheet
// (`folha` empty) or on the sheet named, or on the sheets from one to the
// other ("Jan:Dez"). Whole columns and rows reach the sheet's edges. A
// range of more than two ends ("B2:C3:A1") is the box that holds them all:
// each end after the second is a reference of its own that `junta` to the
// one before.
struct Referencia {
    std::string folha;
    Parte_Ref c1, r1, c2, r2;
    bool junta = false;
};

// What a formula's result can depend on: the cells it references, the
// defined names it uses (with the sheet that qualifies one, if any), and
// whether it reaches cells no reading of its text can tell (INDIRECT,
// OFFSET, another workbook, a table, a spilled range).
struct Dependencias {
    std::vector<Referencia> referencias;
    std::vector<std::pair<std::string, std::string>> nomes;
    bool indeterminada = false;
};
// `saida` is cleared first: one object serves a sheet's formulas.
void Le_Dependencias(std::string_view formula, Dependencias& saida);

// The formula `formula`, written for one cell, as written for the cell
// `colunas` to the right and `linhas` below (negative: left, above); false
// when one of its references would leave the sheet.
bool Desloca_Formula(std::string_view formula, int colunas, int linhas, std::string& saida);

// Whether a part's text, as it stands (in UTF-8, without comments and the
// like), shows by its namespace declarations alone that its elements are
// all found by the root's prefix; false when it cannot tell, and the
// parsed tree must be looked at element by element.
bool Prefixo_Da_Raiz_Basta(std::string_view xml);

// Whether two texts are the same but for the case of ASCII letters.
bool Igual_Sem_Caixa(std::string_view a, std::string_view b);

// ASCII letters in lower case: part names compare so.
std::string Minusculas(std::string s);

// The name of a part reached from `origem` by a relationship's target.
std::string Resolve_Alvo(const std::string& origem, const std::string& alvo);
// The relationships part of a part: "xl/_rels/workbook.xml.rels".
std::string Relacoes_De(const std::string& parte);
// Whether a relationship's type ends with "/sufixo".
bool Tipo_E(const pugi::xml_node& relacao, const char* sufixo);
// The value of an attribute named "id" under any prefix ("r:id").
const char* Id_Relacao(const pugi::xml_node& no);

// Deflated at zlib's usual level, as spreadsheet programs write: a higher
// level takes twice as long for a file a few percent smaller.
std::string Comprime(std::string_view texto);
// An entry's new contents, deflated here and handed to the archive as they
// are: libzip compresses a replaced entry that was deflated at its own
// highest level, whatever level it is asked for.
zip_source_t* Fonte_Deflate(zip_t* zip, std::string_view texto);

// An archive read from the bytes of a file and written anew into bytes of
// its own: libzip neither frees nor writes the memory it reads (its buffer
// source, saving back into the bytes it was lent, frees them on some
// layouts of the file). It must outlive the archive opened on it.
class Arquivo_Em_Memoria {
public:
    explicit Arquivo_Em_Memoria(QByteArray lido);
    ~Arquivo_Em_Memoria();
    Arquivo_Em_Memoria(const Arquivo_Em_Memoria&) = delete;
    Arquivo_Em_Memoria& operator=(const Arquivo_Em_Memoria&) = delete;

    // The archive; null when the bytes are not one.
    zip_t* Abre();
    // The archive as zip_close wrote it; the bytes read when it had
    // nothing to write.
    QByteArray Gravado() const;

private:
    static zip_int64_t Comando(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando);
    QByteArray lido_;
    zip_uint64_t posicao_ = 0;
    QByteArray escrito_;
    zip_uint64_t posicaoEscrita_ = 0;
    bool gravado_ = false;
    zip_error_t erro_;
};

}  // namespace Planilha_Interna

struct Planilha::Dados {
    using Parte = Planilha_Interna::Parte;
    using Folha = Planilha_Interna::Folha;
    using Endereco = Planilha_Interna::Endereco;

    struct Aba {
        QString nome;
        std::string parte;  // empty for a sheet that is not a worksheet (a chart)
    };

    QString caminho;
    std::unique_ptr<Planilha_Interna::Arquivo_Em_Memoria> memoria;  // the file as read, and as saved
    zip_t* zip = nullptr;

    std::map<std::string, std::unique_ptr<Parte>> partes;
    std::string livro, relacoesLivro, estilos, textos, cadeia;
    std::vector<Aba> abas;  // in the workbook's order
    std::map<std::string, std::unique_ptr<Folha>> folhas;
    // Worksheets whose views alone were changed, without parsing their
    // cells: their whole new text, by lower-case name.
    std::map<std::string, std::string> editadas;
    Folha* ultima = nullptr;  // the sheet last asked for, by its name as asked
    QString ultimoNome;
    bool data1904 = false;
    bool textosLidos = false;
    std::vector<QString> compartilhados;
    std::map<unsigned, unsigned> estiloComData;  // a style and its copy showing a date
    bool selecaoFeita = false;

    ~Dados();

    void Abre();
    zip_int64_t Indice(const std::string& nome) const;  // -1 when missing
    std::string Le_Entrada(zip_int64_t indice) const;
    Parte& Le_Parte(const std::string& nome);
    Parte* Parte_Se_Houver(const std::string& nome);
    // A part whose elements are not all under its root's prefix (see
    // Prefixo_Unico) refused, named by its sheet when it is one.
    [[noreturn]] void Prefixos_Misturados(const std::string& parte) const;
    const Aba* Procura_Aba(const QString& nome) const;
    Folha& Le_Folha(const QString& nome);
    Folha& Carrega_Folha(const QString& nome);

    // Cells
    pugi::xml_node Celula(Folha& f, const Endereco& e, bool cria);
    // What the cell `c` (named `celula`; null when the sheet lacks it)
    // shows, as Planilha::Valor gives it.
    QVariant Valor(Folha& f, const pugi::xml_node& c, const QString& celula);
    // The cell `celula`, emptied of what it held and counted as written,
    // for a new value (`cria`), or left empty (null when the sheet lacks
    // it); refused in a block an array formula or a data table fills.
    pugi::xml_node Para_Escrever(Folha& f, const QString& celula, bool cria);
    void Limpa_Celula(Folha& f, pugi::xml_node c, const QString& celula);
    [[noreturn]] static void Nao_Substitui(const Folha& f, const QString& celula);
    // The shared formula `formula` of the cell `c` handed to the cells
    // that repeat it, before `c` takes something else.
    void Passa_Compartilhada(Folha& f, pugi::xml_node c, pugi::xml_node formula, const QString& celula);
    unsigned Estilo_Para_Data(unsigned estilo);
    const QString& Compartilhado(long indice);

    // Saving
    void Marca_Recalculo();
    // Formulas that depend on the cells written lose their values, for a
    // spreadsheet program that does not recalculate on opening to
    // calculate them.
    void Retira_Valores_Dependentes();
    void Retira_Cadeia();
    void Tira_Selecao_Das_Outras(const std::string& manter);
    // A worksheet not otherwise read loses its selection mark: only its
    // head is parsed (a whole parse of a large sheet for one attribute
    // would cost more than the rest of the run).
    void Tira_Selecao_Da_Cabeca(const std::string& parte);
    // The entry's contents replaced (or a new entry), deflated here.
    void Substitui(const std::string& nome, const std::string& texto);
    QByteArray Novo_Arquivo();
};
