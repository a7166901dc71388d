#include "platform/PlanilhaInterna.h"
#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <new>
#define ZLIB_CONST
#include <zlib.h>

using namespace Planilha_Interna;

namespace Planilha_Interna {

void Falha(long numero, const QString& descricao) { Levanta_Erro(numero, descricao); }

void Sem_Memoria() { Falha(7, QStringLiteral("Memória insuficiente.")); }

void Nao_E_Planilha(const QString& caminho) {
    Falha(1004, QStringLiteral("O arquivo ") + QFileInfo(caminho).fileName() +
                    QStringLiteral(" não é uma planilha do Excel (.xlsx)."));
}

std::string Relacoes_De(const std::string& parte) {
    const auto barra = parte.rfind('/');
    const std::string pasta = barra == std::string::npos ? std::string() : parte.substr(0, barra + 1);
    const std::string nome = barra == std::string::npos ? parte : parte.substr(barra + 1);
    return pasta + "_rels/" + nome + ".rels";
}

std::string Resolve_Alvo(const std::string& origem, const std::string& alvo) {
    std::string caminho;
    if (!alvo.empty() && alvo[0] == '/') {
        caminho = alvo.substr(1);
    } else {
        const auto barra = origem.rfind('/');
        caminho = (barra == std::string::npos ? std::string() : origem.substr(0, barra + 1)) + alvo;
    }
    // "xl/worksheets/../media/x.png" and "./x" as a file system reads them.
    std::vector<std::string> partes;
    size_t inicio = 0;
    while (inicio <= caminho.size()) {
        const auto fim = std::min(caminho.find('/', inicio), caminho.size());
        const std::string seg = caminho.substr(inicio, fim - inicio);
        if (seg == "..") {
            if (!partes.empty()) partes.pop_back();
        } else if (!seg.empty() && seg != ".") {
            partes.push_back(seg);
        }
        inicio = fim + 1;
    }
    std::string r;
    for (const std::string& p : partes) r += (r.empty() ? "" : "/") + p;
    return r;
}

bool Tipo_E(const pugi::xml_node& relacao, const char* sufixo) {
    const char* tipo = relacao.attribute("Type").value();
    const size_t n = std::strlen(tipo), m = std::strlen(sufixo);
    return n > m && tipo[n - m - 1] == '/' && std::strcmp(tipo + n - m, sufixo) == 0;
}

std::string Minusculas(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

const char* Id_Relacao(const pugi::xml_node& no) {
    for (const pugi::xml_attribute a : no.attributes()) {
        const char* nome = a.name();
        const char* dois = std::strrchr(nome, ':');
        if (dois && std::strcmp(dois + 1, "id") == 0) return a.value();
    }
    return "";
}

}  // namespace Planilha_Interna

// ---------------------------------------------------------------------------
// The archive and its parts

namespace {
// The prefix of an element's name, without its colon; "" for none.
std::string_view Prefixo_De(const char* nome) {
    const char* dois = std::strchr(nome, ':');
    return dois ? std::string_view(nome, size_t(dois - nome)) : std::string_view();
}

// The elements of a part may carry a prefix ("x:worksheet"); new elements
// take the same one.
std::string Prefixo(const pugi::xml_node& raiz) {
    const std::string_view prefixo = Prefixo_De(raiz.name());
    return prefixo.empty() ? std::string() : std::string(prefixo) + ':';
}

// Whether an attribute of this name declares a namespace; `prefixo`
// receives the prefix it is for ("" for the default).
bool Declara(const char* nome, std::string_view& prefixo) {
    if (nome[0] != 'x' || std::strncmp(nome, "xmlns", 5) != 0 || (nome[5] != '\0' && nome[5] != ':')) return false;
    prefixo = nome[5] ? std::string_view(nome + 6) : std::string_view();
    return true;
}

// The namespace that the prefix `prefixo` ("" for none) stands for at the
// element `e`: its nearest declaration, from `e` up.
std::string_view Espaco_Do_Prefixo(pugi::xml_node e, std::string_view prefixo) {
    for (; e.type() == pugi::node_element; e = e.parent())
        for (const pugi::xml_attribute a : e.attributes())
            if (std::string_view declarado; Declara(a.name(), declarado) && declarado == prefixo) return a.value();
    return {};
}

// Whether every element of the part is found by its name with the root's
// prefix, as the editor finds them: each element under that prefix is of
// the root's namespace, and each of that namespace is under that prefix.
// One under another prefix (declared on a row, or the namespace declared
// again as the default inside a prefixed root) would be missed: a formula
// there would keep its old value, a cell written there would go into a
// second row of the same number.
// With `ate`, the root's child of that name and all after it are left out:
// the head of a sheet, cut short somewhere inside that element.
bool Prefixo_Unico(const pugi::xml_document& doc, const char* ate = nullptr) {
    struct Verificacao : pugi::xml_tree_walker {
        pugi::xml_node raiz;
        std::string_view prefixo, espaco;
        const char* ate = nullptr;
        // The depths of the elements that declare a namespace, from the one
        // visited up, the root left out.
        std::vector<int> declarantes;
        bool unico = true;
        bool for_each(pugi::xml_node& n) override {
            if (n.type() != pugi::node_element) return true;
            if (ate && depth() == 1 && std::strcmp(n.name(), ate) == 0) return false;
            while (!declarantes.empty() && declarantes.back() >= depth()) declarantes.pop_back();
            if (depth() > 0)
                for (const pugi::xml_attribute a : n.attributes())
                    if (std::string_view declarado; Declara(a.name(), declarado)) {
                        declarantes.push_back(depth());
                        break;
                    }
            const std::string_view prefixoDele = Prefixo_De(n.name());
            // Where nothing below the root declares one, a prefix stands
            // for what the root says.
            const std::string_view espacoDele = !declarantes.empty() ? Espaco_Do_Prefixo(n, prefixoDele)
                                                : prefixoDele == prefixo ? espaco
                                                                         : Espaco_Do_Prefixo(raiz, prefixoDele);
            unico = (prefixoDele == prefixo) == (espacoDele == espaco);
            return unico;
        }
    } verificacao;
    const pugi::xml_node raiz = doc.document_element();
    verificacao.raiz = raiz;
    verificacao.ate = ate;
    verificacao.prefixo = Prefixo_De(raiz.name());
    verificacao.espaco = Espaco_Do_Prefixo(raiz, verificacao.prefixo);
    pugi::xml_node(doc).traverse(verificacao);
    return verificacao.unico;
}

// A pugixml writer into a string.
struct Escritor : pugi::xml_writer {
    std::string& saida;
    explicit Escritor(std::string& s) : saida(s) {}
    void write(const void* dados, size_t tamanho) override { saida.append(static_cast<const char*>(dados), tamanho); }
};

constexpr unsigned Leitura = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata;
// The largest part read: a sheet of a million rows of figures is a few
// hundred megabytes of XML; a claim beyond this is a damaged file.
constexpr zip_uint64_t MaiorParte = zip_uint64_t(1) << 30;
}  // namespace

Planilha::Dados::~Dados() {
    if (zip) zip_discard(zip);
}

zip_int64_t Planilha::Dados::Indice(const std::string& nome) const {
    return zip_name_locate(zip, nome.c_str(), ZIP_FL_NOCASE);
}

std::string Planilha::Dados::Le_Entrada(zip_int64_t indice) const {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip, zip_uint64_t(indice), 0, &st) != 0) Nao_E_Planilha(caminho);
    zip_file_t* arq = zip_fopen_index(zip, zip_uint64_t(indice), 0);
    if (!arq) Nao_E_Planilha(caminho);
    // What the directory claims is believed only within what deflating
    // can give (about a thousand to one) and the largest part read.
    if ((st.valid & ZIP_STAT_SIZE) &&
        (st.size > MaiorParte || ((st.valid & ZIP_STAT_COMP_SIZE) && st.size / 1032 > st.comp_size + 1))) {
        zip_fclose(arq);
        Nao_E_Planilha(caminho);
    }
    std::string dados;
    if (st.valid & ZIP_STAT_SIZE) dados.reserve(size_t(st.size));
    char bloco[65536];
    zip_int64_t n;
    while ((n = zip_fread(arq, bloco, sizeof bloco)) > 0 && dados.size() <= MaiorParte) dados.append(bloco, size_t(n));
    zip_fclose(arq);
    if (n < 0 || dados.size() > MaiorParte) Nao_E_Planilha(caminho);
    return dados;
}

Planilha::Dados::Parte* Planilha::Dados::Parte_Se_Houver(const std::string& nome) {
    const std::string chave = Minusculas(nome);
    if (auto it = partes.find(chave); it != partes.end()) return it->second.get();
    const zip_int64_t i = Indice(nome);
    if (i < 0) return nullptr;
    auto p = std::make_unique<Parte>();
    p->nome = nome;
    std::string texto;
    if (auto e = editadas.find(chave); e != editadas.end()) {
        // Its views changed already: parsed from there, and written from the tree.
        texto = std::move(e->second);
        editadas.erase(e);
        p->mudou = true;
    } else {
        texto = Le_Entrada(i);
    }
    if (!p->doc.load_buffer(texto.data(), texto.size(), Leitura) || !p->doc.document_element()) Nao_E_Planilha(caminho);
    if (!Prefixo_Da_Raiz_Basta(texto) && !Prefixo_Unico(p->doc)) Prefixos_Misturados(nome);
    p->prefixo = Prefixo(p->doc.document_element());
    return partes.emplace(chave, std::move(p)).first->second.get();
}

Planilha::Dados::Parte& Planilha::Dados::Le_Parte(const std::string& nome) {
    Parte* p = Parte_Se_Houver(nome);
    if (!p) Nao_E_Planilha(caminho);
    return *p;
}

void Planilha::Dados::Abre() {
    const QFileInfo info(caminho);
    if (!info.exists() || !info.isFile()) Falha(53);
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) Falha(70);
    memoria = std::make_unique<Arquivo_Em_Memoria>(f.readAll());
    if (f.error() != QFileDevice::NoError) Falha(70);

    zip = memoria->Abre();
    if (!zip) Nao_E_Planilha(caminho);

    // The package says where its workbook is.
    Parte& pacote = Le_Parte("_rels/.rels");
    for (const pugi::xml_node r : pacote.raiz().children(pacote.el("Relationship")))
        if (Tipo_E(r, "officeDocument")) livro = Resolve_Alvo("", r.attribute("Target").value());
    if (livro.empty() || Indice(livro) < 0) Nao_E_Planilha(caminho);
    Parte& wb = Le_Parte(livro);
    if (std::string(wb.raiz().name()) != wb.el("workbook")) Nao_E_Planilha(caminho);

    relacoesLivro = Relacoes_De(livro);
    std::map<std::string, std::string> alvos;  // worksheets by relationship id
    if (Parte* rels = Parte_Se_Houver(relacoesLivro)) {
        for (const pugi::xml_node r : rels->raiz().children(rels->el("Relationship"))) {
            if (std::string(r.attribute("TargetMode").value()) == "External") continue;
            const std::string alvo = Resolve_Alvo(livro, r.attribute("Target").value());
            if (Tipo_E(r, "worksheet")) alvos[r.attribute("Id").value()] = alvo;
            else if (Tipo_E(r, "styles")) estilos = alvo;
            else if (Tipo_E(r, "sharedStrings")) textos = alvo;
            else if (Tipo_E(r, "calcChain")) cadeia = alvo;
        }
    }
    for (const pugi::xml_node s : wb.raiz().child(wb.el("sheets")).children(wb.el("sheet"))) {
        const auto it = alvos.find(Id_Relacao(s));
        abas.push_back({QString::fromUtf8(s.attribute("name").value()), it == alvos.end() ? std::string() : it->second});
    }
    if (abas.empty()) Nao_E_Planilha(caminho);
    // Sheets are found by name without regard to case, by this editor and
    // by the workbook's own formulas: two names that differ only in case
    // (which spreadsheet programs refuse) leave it unsure which is meant.
    for (size_t i = 0; i < abas.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (abas[j].nome.compare(abas[i].nome, Qt::CaseInsensitive) == 0)
                Falha(1004, QStringLiteral("A planilha tem duas folhas com o mesmo nome: \"") + abas[j].nome +
                                QStringLiteral("\" e \"") + abas[i].nome + QStringLiteral("\"."));
    const pugi::xml_attribute d1904 = wb.raiz().child(wb.el("workbookPr")).attribute("date1904");
    data1904 = d1904 && (std::strcmp(d1904.value(), "1") == 0 || std::strcmp(d1904.value(), "true") == 0);
}

void Planilha::Dados::Prefixos_Misturados(const std::string& parte) const {
    QString onde = QStringLiteral("a parte ") + QString::fromStdString(parte);
    for (const Aba& a : abas)
        if (Minusculas(a.parte) == Minusculas(parte)) onde = QStringLiteral("a folha \"") + a.nome + QLatin1Char('"');
    Falha(1004, QStringLiteral("No arquivo ") + QFileInfo(caminho).fileName() + QStringLiteral(", ") + onde +
                    QStringLiteral(" tem elementos de XML sob prefixos diferentes, que o programa não sabe alterar. Abra a "
                                   "planilha na sua planilha eletrônica, salve-a e tente novamente."));
}

const Planilha::Dados::Aba* Planilha::Dados::Procura_Aba(const QString& nome) const {
    for (const Aba& a : abas)
        if (a.nome.compare(nome, Qt::CaseInsensitive) == 0) return &a;
    return nullptr;
}

Planilha::Dados::Folha& Planilha::Dados::Le_Folha(const QString& nome) {
    // A run writes cell after cell of one sheet.
    if (ultima && nome == ultimoNome) return *ultima;
    Folha& f = Carrega_Folha(nome);
    ultima = &f;
    ultimoNome = nome;
    return f;
}

Planilha::Dados::Folha& Planilha::Dados::Carrega_Folha(const QString& nome) {
    const Aba* aba = Procura_Aba(nome);
    if (!aba || aba->parte.empty())
        Falha(1004, QStringLiteral("A planilha não tem a folha \"") + nome + QStringLiteral("\"."));
    if (auto it = folhas.find(aba->parte); it != folhas.end()) return *it->second;
    auto f = std::make_unique<Folha>();
    f->nome = aba->nome;
    f->parte = &Le_Parte(aba->parte);
    pugi::xml_node raiz = f->parte->raiz();
    f->dados = raiz.child(f->parte->el("sheetData"));
    if (!f->dados) Nao_E_Planilha(caminho);
    // Rows and cells may leave out their address, meaning "the next one";
    // each gets it written, so that later lookups read it.
    const std::string nomeLinha = f->parte->el("row"), nomeCelula = f->parte->el("c"), nomeFormula = f->parte->el("f");
    int anterior = 0;
    for (pugi::xml_node linha : f->dados.children(nomeLinha.c_str())) {
        pugi::xml_attribute r = linha.attribute("r");
        // Read wide, so that a number past the last row is refused, not
        // wrapped round.
        const long long lido = r ? r.as_llong() : anterior + 1LL;
        if (lido <= anterior || lido > MaxLinha) Nao_E_Planilha(caminho);
        const int n = int(lido);
        if (!r) linha.append_attribute("r") = n;
        f->linhas.emplace(n, linha);
        anterior = n;
        int coluna = 0;
        for (pugi::xml_node c : linha.children(nomeCelula.c_str())) {
            pugi::xml_attribute rc = c.attribute("r");
            coluna = rc ? Coluna_De(rc.value()) : coluna + 1;
            if (coluna < 0 || coluna > MaxColuna) Nao_E_Planilha(caminho);
            if (!rc) c.append_attribute("r") = Texto_Endereco({coluna, n}).c_str();
            if (const pugi::xml_node formula = c.child(nomeFormula.c_str())) {
                const Endereco e{coluna, n};
                const Endereco ate = Fim_Da_Formula(formula.attribute("t").value(), formula.attribute("ref").value(), e);
                if (ate.coluna != e.coluna || ate.linha != e.linha) f->matrizes.emplace_back(e, ate);
            }
        }
    }
    return *folhas.emplace(aba->parte, std::move(f)).first->second;
}

// ---------------------------------------------------------------------------
// Saving

void Planilha::Dados::Marca_Recalculo() {
    Parte& wb = Le_Parte(livro);
    pugi::xml_node raiz = wb.raiz();
    pugi::xml_node calc = raiz.child(wb.el("calcPr"));
    if (!calc) {
        // In the place the schema gives it: after the names, before
        // everything that follows them.
        pugi::xml_node depois;
        for (const char* nome : {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                 "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"}) {
            depois = raiz.child(wb.el(nome));
            if (depois) break;
        }
        calc = depois ? raiz.insert_child_before(wb.el("calcPr"), depois) : raiz.append_child(wb.el("calcPr"));
    }
    pugi::xml_attribute a = calc.attribute("fullCalcOnLoad");
    if (!a) a = calc.append_attribute("fullCalcOnLoad");
    a = "1";
    wb.mudou = true;
}

void Planilha::Dados::Retira_Cadeia() {
    if (cadeia.empty()) return;
    // The chain lists the formula cells in the order last calculated; it
    // would name cells whose formulas are gone.
    if (const zip_int64_t i = Indice(cadeia); i >= 0 && zip_delete(zip, zip_uint64_t(i)) != 0) Falha(75);
    if (Parte* rels = Parte_Se_Houver(relacoesLivro)) {
        for (pugi::xml_node r = rels->raiz().first_child(); r;) {
            const pugi::xml_node proxima = r.next_sibling();
            if (Tipo_E(r, "calcChain")) {
                rels->raiz().remove_child(r);
                rels->mudou = true;
            }
            r = proxima;
        }
    }
    if (Parte* tipos = Parte_Se_Houver("[Content_Types].xml")) {
        const std::string nome = Minusculas("/" + cadeia);
        for (pugi::xml_node o = tipos->raiz().first_child(); o;) {
            const pugi::xml_node proxima = o.next_sibling();
            if (Minusculas(o.attribute("PartName").value()) == nome) {
                tipos->raiz().remove_child(o);
                tipos->mudou = true;
            }
            o = proxima;
        }
    }
    cadeia.clear();
}

// ---------------------------------------------------------------------------
// Entries deflated here

namespace {
// An entry's contents already deflated, as the archive copies them.
struct Comprimida {
    std::string dados;
    zip_uint64_t tamanho = 0;  // before deflating
    zip_uint32_t crc = 0;
    size_t lidos = 0;
    zip_error_t erro;
};

zip_int64_t Fonte_Comprimida(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando) {
    Comprimida* c = static_cast<Comprimida*>(estado);
    switch (comando) {
    case ZIP_SOURCE_OPEN:
        c->lidos = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const size_t n = std::min<size_t>(size_t(tamanho), c->dados.size() - c->lidos);
        std::memcpy(dados, c->dados.data() + c->lidos, n);
        c->lidos += n;
        return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_STAT: {
        zip_stat_t* st = static_cast<zip_stat_t*>(dados);
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
        st->size = c->tamanho;
        st->comp_size = c->dados.size();
        st->comp_method = ZIP_CM_DEFLATE;
        st->crc = c->crc;
        st->encryption_method = ZIP_EM_NONE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
        // The header's two bits that tell the deflate level: "normal".
        zip_file_attributes_t* a = static_cast<zip_file_attributes_t*>(dados);
        a->valid |= ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS;
        a->general_purpose_bit_flags = 0;
        a->general_purpose_bit_mask = 0x0006;
        return 0;
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&c->erro, dados, tamanho);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&c->erro);
        delete c;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    default:
        zip_error_set(&c->erro, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}
}  // namespace

namespace Planilha_Interna {

std::string Comprime(std::string_view texto) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) Sem_Memoria();
    std::string saida(deflateBound(&z, uLong(texto.size())), '\0');
    z.next_in = reinterpret_cast<const Bytef*>(texto.data());
    z.avail_in = uInt(texto.size());
    z.next_out = reinterpret_cast<Bytef*>(saida.data());
    z.avail_out = uInt(saida.size());
    const int r = deflate(&z, Z_FINISH);
    saida.resize(z.total_out);
    deflateEnd(&z);
    if (r != Z_STREAM_END) Sem_Memoria();
    return saida;
}

zip_source_t* Fonte_Deflate(zip_t* zip, std::string_view texto) {
    auto c = std::make_unique<Comprimida>();
    c->dados = Comprime(texto);
    c->tamanho = texto.size();
    c->crc = zip_uint32_t(crc32_z(0, reinterpret_cast<const Bytef*>(texto.data()), texto.size()));
    zip_error_init(&c->erro);
    zip_source_t* s = zip_source_function(zip, Fonte_Comprimida, c.get());
    if (!s) {
        zip_error_fini(&c->erro);
        Sem_Memoria();
    }
    c.release();  // the source's now: freed with it
    return s;
}

Arquivo_Em_Memoria::Arquivo_Em_Memoria(QByteArray lido) : lido_(std::move(lido)) { zip_error_init(&erro_); }

Arquivo_Em_Memoria::~Arquivo_Em_Memoria() { zip_error_fini(&erro_); }

zip_t* Arquivo_Em_Memoria::Abre() {
    zip_error_t erro;
    zip_error_init(&erro);
    zip_source_t* fonte = zip_source_function_create(&Arquivo_Em_Memoria::Comando, this, &erro);
    zip_t* zip = fonte ? zip_open_from_source(fonte, 0, &erro) : nullptr;
    zip_error_fini(&erro);
    if (!zip && fonte) zip_source_free(fonte);  // the archive owns it only once open
    return zip;
}

QByteArray Arquivo_Em_Memoria::Gravado() const { return gravado_ ? escrito_ : lido_; }

zip_int64_t Arquivo_Em_Memoria::Comando(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando) {
    Arquivo_Em_Memoria& m = *static_cast<Arquivo_Em_Memoria*>(estado);
    // Nothing may unwind through libzip's frames, which would skip its
    // clean-up: a buffer that cannot grow is told to libzip as its own
    // error.
    try {
        switch (comando) {
        case ZIP_SOURCE_OPEN:
            m.posicao_ = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const zip_uint64_t total = zip_uint64_t(m.lido_.size());
            const zip_uint64_t n = std::min<zip_uint64_t>(tamanho, total - std::min(m.posicao_, total));
            if (n) std::memcpy(dados, m.lido_.constData() + m.posicao_, size_t(n));
            m.posicao_ += n;
            return zip_int64_t(n);
        }
        case ZIP_SOURCE_CLOSE: return 0;
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t p = zip_source_seek_compute_offset(m.posicao_, zip_uint64_t(m.lido_.size()), dados, tamanho, &m.erro_);
            if (p < 0) return -1;
            m.posicao_ = zip_uint64_t(p);
            return 0;
        }
        case ZIP_SOURCE_TELL: return zip_int64_t(m.posicao_);
        case ZIP_SOURCE_STAT: {
            zip_stat_t* st = static_cast<zip_stat_t*>(dados);
            zip_stat_init(st);
            st->valid = ZIP_STAT_SIZE;
            st->size = zip_uint64_t(m.lido_.size());
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_BEGIN_WRITE:
            // The whole archive is written anew, the entries not replaced
            // copied as they are: nothing is kept from the bytes read.
            m.escrito_.clear();
            m.escrito_.reserve(qsizetype(m.lido_.size() + m.lido_.size() / 4));
            m.posicaoEscrita_ = 0;
            m.gravado_ = false;
            return 0;
        case ZIP_SOURCE_WRITE: {
            const zip_uint64_t fim = m.posicaoEscrita_ + tamanho;
            if (fim > zip_uint64_t(m.escrito_.size())) m.escrito_.resize(qsizetype(fim));
            if (tamanho) std::memcpy(m.escrito_.data() + m.posicaoEscrita_, dados, size_t(tamanho));
            m.posicaoEscrita_ = fim;
            return zip_int64_t(tamanho);
        }
        case ZIP_SOURCE_SEEK_WRITE: {
            const zip_int64_t p =
                zip_source_seek_compute_offset(m.posicaoEscrita_, zip_uint64_t(m.escrito_.size()), dados, tamanho, &m.erro_);
            if (p < 0) return -1;
            m.posicaoEscrita_ = zip_uint64_t(p);
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE: return zip_int64_t(m.posicaoEscrita_);
        case ZIP_SOURCE_COMMIT_WRITE:
            m.gravado_ = true;
            return 0;
        case ZIP_SOURCE_ROLLBACK_WRITE:
            m.escrito_.clear();
            m.gravado_ = false;
            return 0;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&m.erro_, dados, tamanho);
        case ZIP_SOURCE_FREE: return 0;  // the state is its owner's
        case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_WRITABLE;
        case ZIP_SOURCE_REMOVE:  // an archive left without entries: never a workbook
        default:
            zip_error_set(&m.erro_, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    } catch (const std::bad_alloc&) {
        zip_error_set(&m.erro_, ZIP_ER_MEMORY, 0);
        return -1;
    }
}

}  // namespace Planilha_Interna

void Planilha::Dados::Substitui(const std::string& nome, const std::string& texto) {
    const zip_int64_t i = Indice(nome);
    zip_source_t* s = Fonte_Deflate(zip, texto);
    const zip_int64_t indice = i >= 0 ? (zip_file_replace(zip, zip_uint64_t(i), s, 0) == 0 ? i : -1)
                                      : zip_file_add(zip, nome.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (indice < 0) {
        zip_source_free(s);
        Falha(75);
    }
}

QByteArray Planilha::Dados::Novo_Arquivo() {
    for (const auto& [chave, texto] : editadas) Substitui(chave, texto);
    std::string saida;
    for (auto& [chave, p] : partes) {
        if (!p->mudou) continue;
        saida.clear();
        Escritor escritor(saida);
        pugi::xml_node decl = p->doc.first_child();
        if (decl.type() == pugi::node_declaration && decl.attribute("encoding")) decl.attribute("encoding") = "UTF-8";
        p->doc.save(escritor, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        Substitui(p->nome, saida);
    }
    if (zip_close(zip) != 0) {  // the archive stays open, discarded with the editor
        if (zip_error_code_zip(zip_get_error(zip)) == ZIP_ER_MEMORY) Sem_Memoria();
        Falha(75);
    }
    zip = nullptr;
    return memoria->Gravado();
}

// ---------------------------------------------------------------------------
// The editor

Planilha::Planilha(const QString& caminho) : d_(std::make_unique<Dados>()) {
    d_->caminho = caminho;
    d_->Abre();
}

Planilha::~Planilha() = default;

bool Planilha::Formato_Antigo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return false;
    // The compound-document signature every binary workbook starts with.
    static const char assinatura[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    return f.read(8) == QByteArray(assinatura, 8);
}

bool Planilha::Tem_Folha(const QString& folha) const {
    const Dados::Aba* a = d_->Procura_Aba(folha);
    return a && !a->parte.empty();
}

void Planilha::Seleciona(const QString& folha, const QString& celula) {
    Dados::Folha& f = d_->Le_Folha(folha);
    const Endereco e = Le_Endereco(celula);
    Parte& p = *f.parte;
    pugi::xml_node raiz = p.raiz();

    pugi::xml_node vistas = raiz.child(p.el("sheetViews"));
    if (!vistas) {
        pugi::xml_node depois;
        for (const char* nome : {"sheetFormatPr", "cols", "sheetData"}) {
            depois = raiz.child(p.el(nome));
            if (depois) break;
        }
        vistas = depois ? raiz.insert_child_before(p.el("sheetViews"), depois) : raiz.append_child(p.el("sheetViews"));
    }
    pugi::xml_node vista = vistas.child(p.el("sheetView"));
    if (!vista) vista = vistas.append_child(p.el("sheetView"));
    if (!vista.attribute("workbookViewId")) vista.append_attribute("workbookViewId") = 0;
    if (!vista.attribute("tabSelected")) vista.append_attribute("tabSelected");
    vista.attribute("tabSelected") = "1";
    // One selection, in the pane that is active when the sheet is split.
    std::string painel;
    if (const pugi::xml_node pane = vista.child(p.el("pane"))) {
        const pugi::xml_attribute ativo = pane.attribute("activePane");
        painel = ativo ? ativo.value() : "topLeft";
    }
    while (pugi::xml_node s = vista.child(p.el("selection"))) vista.remove_child(s);
    pugi::xml_node sel;
    if (const pugi::xml_node pane = vista.child(p.el("pane"))) sel = vista.insert_child_after(p.el("selection"), pane);
    else sel = vista.prepend_child(p.el("selection"));
    if (!painel.empty()) sel.append_attribute("pane") = painel.c_str();
    const std::string ref = Texto_Endereco(e);
    sel.append_attribute("activeCell") = ref.c_str();
    sel.append_attribute("sqref") = ref.c_str();
    p.mudou = true;

    // The workbook opens on this sheet, and it alone is selected: two
    // selected sheets would open grouped, and typing would go to both.
    Parte& wb = d_->Le_Parte(d_->livro);
    const std::string& parte = d_->Procura_Aba(folha)->parte;
    int indice = 0;
    for (size_t i = 0; i < d_->abas.size(); ++i)
        if (d_->abas[i].parte == parte) indice = int(i);
    pugi::xml_node vistasLivro = wb.raiz().child(wb.el("bookViews"));
    if (!vistasLivro) vistasLivro = wb.raiz().insert_child_before(wb.el("bookViews"), wb.raiz().child(wb.el("sheets")));
    pugi::xml_node vistaLivro = vistasLivro.child(wb.el("workbookView"));
    if (!vistaLivro) vistaLivro = vistasLivro.append_child(wb.el("workbookView"));
    if (!vistaLivro.attribute("activeTab")) vistaLivro.append_attribute("activeTab");
    vistaLivro.attribute("activeTab") = indice;
    if (vistaLivro.attribute("firstSheet").as_int() > indice) vistaLivro.attribute("firstSheet") = indice;
    wb.mudou = true;
    d_->Tira_Selecao_Das_Outras(parte);
}

namespace {
// The selection marks of a worksheet's views taken away; whether it had
// one. A mark that says "not selected" stays.
bool Tira_Marcas(const Planilha_Interna::Parte& p) {
    bool tirou = false;
    for (pugi::xml_node v : p.raiz().child(p.el("sheetViews")).children(p.el("sheetView"))) {
        if (v.attribute("tabSelected").as_bool()) {
            v.remove_attribute("tabSelected");
            tirou = true;
        }
    }
    return tirou;
}
}  // namespace

void Planilha::Dados::Tira_Selecao_Das_Outras(const std::string& manter) {
    for (const Aba& a : abas) {
        if (a.parte.empty() || a.parte == manter) continue;
        if (const auto it = partes.find(Minusculas(a.parte)); it != partes.end()) {
            if (Tira_Marcas(*it->second)) it->second->mudou = true;
        } else {
            Tira_Selecao_Da_Cabeca(a.parte);
        }
    }
}

void Planilha::Dados::Tira_Selecao_Da_Cabeca(const std::string& parte) {
    const zip_int64_t i = Indice(parte);
    if (i < 0) return;
    const std::string chave = Minusculas(parte);
    const auto editada = editadas.find(chave);
    const bool jaEditada = editada != editadas.end();
    // The views come before the cells: the head is read until the parser
    // meets the cells' element (or the end), and what it built of the
    // views so far is the whole of them. Each reading parses anew, on a
    // head twice as long as the last.
    Parte cabeca;
    std::string lido;
    zip_file_t* arq = jaEditada ? nullptr : zip_fopen_index(zip, zip_uint64_t(i), 0);
    if (!jaEditada && !arq) Nao_E_Planilha(caminho);
    bool fim = false;
    for (size_t proxima = 1024; !fim; proxima = lido.size() * 2) {
        if (jaEditada) {
            lido = editada->second.substr(0, proxima);
            fim = lido.size() == editada->second.size();
        }
        while (arq && lido.size() < proxima) {
            char bloco[1024];
            const zip_int64_t n = zip_fread(arq, bloco, sizeof bloco);
            if (n < 0) {
                zip_fclose(arq);
                Nao_E_Planilha(caminho);
            }
            if (n == 0) {
                fim = true;
                break;
            }
            lido.append(bloco, size_t(n));
        }
        cabeca.doc.load_buffer(lido.data(), lido.size(), Leitura);  // cut short, it fails keeping what it built
        cabeca.prefixo = Prefixo(cabeca.doc.document_element());
        cabeca.nomes.clear();
        if (cabeca.raiz().child(cabeca.el("sheetData"))) break;
    }
    if (arq) zip_fclose(arq);
    if (!Prefixo_Da_Raiz_Basta(lido) && !Prefixo_Unico(cabeca.doc, cabeca.el("sheetData"))) Prefixos_Misturados(parte);
    const pugi::xml_node vistas = cabeca.raiz().child(cabeca.el("sheetViews"));
    if (!Tira_Marcas(cabeca)) return;

    // The views written anew from the tree in the place the parser found
    // them, up to the element after them; the rest of the sheet as it was.
    pugi::xml_node depois = vistas.next_sibling();
    while (depois && depois.type() != pugi::node_element) depois = depois.next_sibling();
    std::string texto = jaEditada ? editada->second : Le_Entrada(i);
    const ptrdiff_t de = vistas.offset_debug() - 1, ate = depois ? depois.offset_debug() - 1 : -1;
    const auto comeca = [&texto](ptrdiff_t pos, const char* nome) {
        return pos >= 0 && size_t(pos) < texto.size() && texto[size_t(pos)] == '<' &&
               texto.compare(size_t(pos) + 1, std::strlen(nome), nome) == 0;
    };
    if (ate <= de || !comeca(de, vistas.name()) || !comeca(ate, depois.name())) {
        // Not where the parser placed them (a sheet in another encoding):
        // the whole sheet parsed.
        if (Parte* p = Parte_Se_Houver(parte); p && Tira_Marcas(*p)) p->mudou = true;
        return;
    }
    std::string novas;
    Escritor escritor(novas);
    vistas.print(escritor, "", pugi::format_raw, pugi::encoding_utf8);
    texto.replace(size_t(de), size_t(ate - de), novas);
    editadas[chave] = std::move(texto);
}

void Planilha::Salva() {
    Dados& d = *d_;
    if (!d.zip) Falha(91);  // saved already: the editor is spent
    // A spreadsheet program that holds the file open would later write its
    // own copy over this one.
    const QFileInfo info(d.caminho);
    if (QFileInfo::exists(info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#')))
        Falha(55);
    // A file marked read-only stays so, whoever runs the program.
    if (!info.isWritable() || !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)))
        Falha(70);
    d.Retira_Valores_Dependentes();
    d.Marca_Recalculo();
    d.Retira_Cadeia();
    const QByteArray novo = d.Novo_Arquivo();

    // Written beside the file, flushed to disk and renamed over the old
    // one, which keeps its permissions; a failure before the rename leaves
    // the old file as it was, one of the folder's flush after it (57) the
    // new file in place.
    Arquivos::Grava(d.caminho, novo);
}
