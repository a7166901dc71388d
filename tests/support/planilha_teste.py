#!/usr/bin/python3
"""The tests' own reader and writer of statement workbooks, independent of
the program: openpyxl makes a workbook laid out as a treasurer's statement
(sheet FECHAMENTO, one sheet per month 01..12, TC, DADOS) and reads any
workbook back as JSON.

    planilha_teste.py cria DESTINO [AJUSTES]
        AJUSTES (JSON): {"celulas": {"08": {"A4": 12, "A5": "=100+23"}},
                         "sem": ["TC"], "razao": 4000,
                         "nomes": {"Taxa": "DADOS!$F$22"},
                         "nomes_locais": {"FECHAMENTO": {"Taxa": "DADOS!$F$15"}}}
        "razao": a ledger of that many rows as the first sheet, "RAZÃO";
        "nomes": the workbook's defined names; "nomes_locais": the names
        of a sheet of its own
        cell values starting with "=" are formulas; null empties a cell.
    planilha_teste.py cadeia ARQUIVO CELULA
        adds a calculation chain naming CELULA of the first sheet
    planilha_teste.py compartilhada DESTINO [FORMA]
        a workbook whose sheet 08 holds one formula written once in E4 and
        repeated: FORMA "coluna" (E4:E6, the default) or "bloco" (E4:F7,
        its references of every kind, to sheets "Saídas 2021" and Dados);
        or, as FORMA "matriz" and "tabela", an array formula or a data
        table over E4:E6
    planilha_teste.py troca ARQUIVO ENTRADA ANTIGO NOVO
        replaces the first ANTIGO of an entry's text by NOVO
    planilha_teste.py codifica ARQUIVO ENTRADA CODIFICACAO MARCA
        the entry written in CODIFICACAO ("utf-16-le"), its declaration
        saying so, with the byte order mark when MARCA is 1
    planilha_teste.py valores ARQUIVO ENTRADA VALORES
        VALORES (JSON): {"E4": 12.5}: the values the formulas of those
        cells show, written with them
    planilha_teste.py entrada ARQUIVO ENTRADA
        prints the entry's bytes as they are
    planilha_teste.py mente ARQUIVO ENTRADA TAMANHO
        the archive's directory claims TAMANHO bytes for the entry
    planilha_teste.py acrescenta ARQUIVO ENTRADA TAMANHO
        a new entry of TAMANHO zero bytes, stored as they are
    planilha_teste.py prefixa ARQUIVO ENTRADA FORMA
        every element of the entry's main namespace under the prefix "x:",
        declared on the root; with FORMA "dados", sheetData and what it
        holds stay unprefixed, the main namespace declared again as the
        default on sheetData
    planilha_teste.py disposicao DESTINO FORMA
        a workbook of three sheets, A with 3,000 numbers, B with one, C
        with 2,000, whose archive holds the entries a save of B rewrites (B and
        the workbook part) where FORMA says: "openpyxl" as openpyxl
        orders them (the sheets first, the workbook's own parts last),
        "inicio", "meio" (just past the middle) or "fim" of the file
    planilha_teste.py le ARQUIVO
        prints {"folhas": [...], "celulas": {folha: {celula: {...}}},
                "mescladas": {...}, "nomes": {...}, "partes": [...],
                "calcPr": "...", "ativa": folha, "selecionadas": {folha: celula},
                "formatos": [number format ids], "crc": {entrada: crc},
                "nivel6": [entries deflated as zlib's level 6 does]}
"""
import datetime
import json
import re
import struct
import sys
import zipfile
import zlib

import openpyxl
from openpyxl.styles import Font, PatternFill
from openpyxl.workbook.defined_name import DefinedName

PRINCIPAL = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
MESES = ["JANEIRO", "FEVEREIRO", "MARÇO", "ABRIL", "MAIO", "JUNHO", "JULHO",
         "AGOSTO", "SETEMBRO", "OUTUBRO", "NOVEMBRO", "DEZEMBRO"]
MOEDA = "#,##0.00"
DATA = "DD/MM/YYYY"
NEGRITO = Font(bold=True)
AMARELO = PatternFill("solid", fgColor="FFFF00")


def folha_mes(wb, mes):
    ws = wb.create_sheet("%02d" % mes)
    ws["A1"] = "MOVIMENTO DE " + MESES[mes - 1]
    ws["A1"].font = NEGRITO
    ws.merge_cells("A1:U1")
    for col, titulo in zip("AEFGHIMTU", ["Código", "Entradas", "Luz", "Aluguel", "Água",
                                        "Prebenda", "Saídas", "Obs.", "Visto"]):
        ws[col + "3"] = titulo
        ws[col + "3"].font = NEGRITO
    ws["E2"] = "=SUM(E4:E600)"
    ws["M2"] = "=SUM(M4:M600)"
    ws["N2"] = "=E2-M2"
    for linha in range(4, 40):
        for col in "EFGHIM":
            ws["%s%d" % (col, linha)].number_format = MOEDA
        ws["N%d" % linha] = "=E%d-M%d" % (linha, linha)
    # Figures of an earlier run, which a new run replaces or empties.
    for linha, codigo in [(4, 30), (5, 31)]:
        ws["A%d" % linha] = codigo
        for col, valor in zip("EFGHIM", [900, 10, 20, 30, 40, 150]):
            ws["%s%d" % (col, linha)] = valor
        ws["T%d" % linha] = "conferido"
        ws["U%d" % linha] = "ok"
    ws["E4"].fill = AMARELO
    ws["X5"] = "anotação"
    return ws


def define_nome(wb, nome, texto, folha=None):
    """A defined name of the workbook, or of the sheet `folha`, with
    openpyxl's API of either age."""
    if hasattr(wb.defined_names, "append"):
        local = {} if folha is None else {"localSheetId": wb.sheetnames.index(folha)}
        wb.defined_names.append(DefinedName(nome, attr_text=texto, **local))
    elif folha is None:
        wb.defined_names[nome] = DefinedName(nome, attr_text=texto)
    else:
        wb[folha].defined_names[nome] = DefinedName(nome, attr_text=texto)


def cria(destino, ajustes):
    sem = set(ajustes.get("sem", []))
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    if ajustes.get("razao"):
        ws = wb.create_sheet("RAZÃO")
        for linha in range(1, ajustes["razao"] + 1):
            ws.append([datetime.datetime(2021, 8, 1 + linha % 28), "LANÇAMENTO %d" % linha, linha * 1.25])
    if "FECHAMENTO" not in sem:
        ws = wb.create_sheet("FECHAMENTO")
        ws["A1"] = "TERMO DE CONSTATAÇÃO"
        ws["A1"].font = NEGRITO
        ws.merge_cells("A1:F1")
        ws["A11"] = "Mês:"
        ws["B11"] = "JULHO"
        ws["B11"].font = NEGRITO
        ws["B11"].fill = AMARELO
        ws["A13"] = "Remessas"
        ws["B13"] = "=TC!I53"
        ws["B13"].number_format = MOEDA
    for mes in range(1, 13):
        if "%02d" % mes not in sem:
            folha_mes(wb, mes)
    if "TC" not in sem:
        ws = wb.create_sheet("TC")
        ws["A1"] = "TERMO DE CONSTATAÇÃO"
        ws.merge_cells("A1:I1")
        ws.column_dimensions["D"].width = 12
        ws["E6"] = "JULHO"
        ws["E6"].font = NEGRITO
        for linha in (45, 47, 49, 51):
            ws["D%d" % linha] = datetime.datetime(2021, 7, 1)
            ws["I%d" % linha] = 11.11
            ws["I%d" % linha].number_format = MOEDA
            ws["I%d" % linha].font = NEGRITO
        # Two of the date cells keep no date format: the program gives them one.
        ws["D45"].number_format = DATA
        ws["D47"].number_format = DATA
        ws["D49"].number_format = "General"
        ws["D51"].number_format = "General"
        ws["D51"].font = NEGRITO
        ws["I53"] = "=SUM(I45:I51)"
        ws["I53"].number_format = MOEDA
        ws["F73"] = "texto antigo"
        ws["F74"] = "endereço antigo"
        ws["H60"] = "=I53*2"
    if "DADOS" not in sem:
        ws = wb.create_sheet("DADOS")
        ws.column_dimensions["C"].width = 12
        for mes in range(1, 13):
            linha = mes + 14
            ws["B%d" % linha] = MESES[mes - 1]
            ws["C%d" % linha].number_format = DATA if mes % 2 == 0 else "General"
            ws["E%d" % linha] = 1.5 * mes
            ws["F%d" % linha] = 2.25 * mes
            ws["E%d" % linha].number_format = MOEDA
            ws["F%d" % linha].number_format = MOEDA
            ws["G%d" % linha] = "=E%d+F%d" % (linha, linha)
        ws["G27"] = "=SUM(G15:G26)"
    if "TC" not in sem:
        define_nome(wb, "TotalRemessas", "TC!$I$53")
    for nome, texto in ajustes.get("nomes", {}).items():
        define_nome(wb, nome, texto)
    for folha, nomes in ajustes.get("nomes_locais", {}).items():
        for nome, texto in nomes.items():
            define_nome(wb, nome, texto, folha)
    for folha, celulas in ajustes.get("celulas", {}).items():
        ws = wb[folha]
        for celula, valor in celulas.items():
            ws[celula] = valor
    wb.save(destino)


def valor_json(v):
    if isinstance(v, (datetime.datetime, datetime.date)):
        return v.isoformat()
    if isinstance(v, datetime.time):
        return v.isoformat()
    return v


def le(arquivo):
    formulas = openpyxl.load_workbook(arquivo)
    valores = openpyxl.load_workbook(arquivo, data_only=True)
    saida = {"folhas": formulas.sheetnames, "celulas": {}, "mescladas": {}, "nomes": {},
             "ativa": formulas.active.title, "selecionadas": {}}
    for ws in formulas.worksheets:
        wv = valores[ws.title]
        celulas = {}
        for linha in ws.iter_rows():
            for c in linha:
                if c.value is None and not c.has_style:
                    continue
                cv = wv[c.coordinate]
                celulas[c.coordinate] = {
                    "v": valor_json(c.value),
                    "c": valor_json(cv.value),
                    "t": c.data_type,
                    "fmt": c.number_format,
                    "negrito": bool(c.font and c.font.b),
                    "preenchimento": c.fill.fgColor.rgb if c.fill and c.fill.fill_type else None,
                }
        saida["celulas"][ws.title] = celulas
        saida["mescladas"][ws.title] = sorted(str(r) for r in ws.merged_cells.ranges)
        if ws.sheet_view.tabSelected:
            selecao = ws.sheet_view.selection
            saida["selecionadas"][ws.title] = selecao[0].activeCell if selecao else ""
    nomes = formulas.defined_names
    for dn in (nomes.definedName if hasattr(nomes, "definedName") else nomes.values()):
        saida["nomes"][dn.name] = dn.attr_text
    with zipfile.ZipFile(arquivo) as z:
        saida["partes"] = sorted(z.namelist())
        livro = z.read("xl/workbook.xml").decode("utf-8")
        m = re.search(r"<(?:\w+:)?calcPr\b[^>]*>", livro)
        saida["calcPr"] = m.group(0) if m else ""
        estilos = z.read("xl/styles.xml").decode("utf-8") if "xl/styles.xml" in z.namelist() else ""
        saida["formatos"] = [int(i) for i in re.findall(r"<(?:\w+:)?numFmt\b[^>]*\bnumFmtId=\"(-?\d+)\"", estilos)]
        saida["crc"] = {i.filename: i.CRC for i in z.infolist()}
        saida["nivel6"] = sorted(i.filename for i in z.infolist() if nivel6(arquivo, z, i))
    json.dump(saida, sys.stdout, ensure_ascii=False)


def nivel6(arquivo, z, info):
    """Whether the entry's data are what zlib's level 6 makes of its contents."""
    if info.compress_type != zipfile.ZIP_DEFLATED:
        return False
    with open(arquivo, "rb") as f:
        f.seek(info.header_offset)
        cabeca = f.read(30)
        nome, extra = struct.unpack("<HH", cabeca[26:30])
        f.seek(info.header_offset + 30 + nome + extra)
        bruto = f.read(info.compress_size)
    c = zlib.compressobj(6, zlib.DEFLATED, -15)
    return bruto == c.compress(z.read(info.filename)) + c.flush()


def reescreve(arquivo, muda):
    with zipfile.ZipFile(arquivo) as z:
        partes = [(i, z.read(i.filename)) for i in z.infolist()]
    partes = muda(partes)
    with zipfile.ZipFile(arquivo, "w", zipfile.ZIP_DEFLATED) as z:
        for info, dados in partes:
            z.writestr(info, dados)


def cadeia(arquivo, celula):
    def muda(partes):
        novas = []
        for info, dados in partes:
            texto = dados.decode("utf-8")
            if info.filename == "[Content_Types].xml":
                texto = texto.replace("</Types>", '<Override PartName="/xl/calcChain.xml" ContentType='
                                      '"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/></Types>')
            elif info.filename == "xl/_rels/workbook.xml.rels":
                texto = texto.replace("</Relationships>", '<Relationship Id="rIdCadeia" Type="http://schemas.'
                                      'openxmlformats.org/officeDocument/2006/relationships/calcChain" '
                                      'Target="calcChain.xml"/></Relationships>')
            novas.append((info, texto.encode("utf-8")))
        novas.append((zipfile.ZipInfo("xl/calcChain.xml"),
                      ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><calcChain xmlns="http://schemas.'
                       'openxmlformats.org/spreadsheetml/2006/main"><c r="%s" i="1"/></calcChain>' % celula).encode()))
        return novas
    reescreve(arquivo, muda)


def compartilhada(destino, forma="coluna"):
    ns = 'xmlns="%s"' % PRINCIPAL
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    folhas = ["08"]
    if forma == "bloco":
        folhas += ["Saídas 2021", "Dados"]
        formula = ("A4*2+$A$4*3+A$4*5+$A4*7+SUM(A4:B4)+&apos;Saídas 2021&apos;!A4+Dados!$B$2+LEN(&quot;A4:B4&quot;)"
                   "+LOG10(100)+COUNT(A:A)+SUM(&apos;Saídas 2021&apos;!1:1)+IF(ISNA(#N/A),1,0)")
        linhas = "".join('<row r="%d"><c r="A%d"><v>%d</v></c><c r="B%d"><v>%d</v></c>%s</row>' % (
            r, r, r * 10, r, r * 100,
            "".join('<c r="%s%d"><f t="shared" %ssi="0"%s</f></c>' % (
                col, r, 'ref="E4:F7" ' if (col, r) == ("E", 4) else "",
                ">" + formula if (col, r) == ("E", 4) else "><") for col in "EF"))
            for r in range(4, 8))
        linhas = linhas.replace("<f t=\"shared\" si=\"0\"><</f>", "<f t=\"shared\" si=\"0\"/>")
        outras = {
            "Saídas 2021": '<row r="1"><c r="A1"><v>1000</v></c><c r="B1"><v>2000</v></c></row>' + "".join(
                '<row r="%d"><c r="A%d"><v>%d</v></c><c r="B%d"><v>%d</v></c></row>' % (r, r, r * 1000, r, r * 3000)
                for r in range(4, 8)),
            "Dados": '<row r="2"><c r="B2"><v>0.5</v></c></row>',
        }
    else:
        f = {"coluna": '<f t="shared" ref="E4:E6" si="0">A4*2</f>',
             "matriz": '<f t="array" ref="E4:E6">A4:A6*2</f>',
             "tabela": '<f t="dataTable" ref="E4:E6" dt2D="0" dtr="0" r1="A1"/>'}[forma]
        seguintes = '<f t="shared" si="0"/>' if forma == "coluna" else ""
        linhas = ('<row r="4"><c r="A4"><v>1</v></c><c r="E4">%s<v>2</v></c></row>'
                  '<row r="5"><c r="A5"><v>2</v></c><c r="E5">%s<v>4</v></c></row>'
                  '<row r="6"><c r="A6"><v>3</v></c><c r="E6">%s<v>6</v></c></row>' % (f, seguintes, seguintes))
        outras = {}
    planilha = '<?xml version="1.0" encoding="UTF-8"?><worksheet %s><sheetData>%s</sheetData></worksheet>'
    partes = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
        'package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
        'relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/'
        'workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>' +
        "".join('<Override PartName="/xl/worksheets/sheet%d.xml" ContentType="application/vnd.openxmlformats-'
                'officedocument.spreadsheetml.worksheet+xml"/>' % (i + 1) for i in range(len(folhas))) + '</Types>',
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/'
        'package/2006/relationships"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/>'
        '</Relationships>' % rel,
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8"?><workbook %s xmlns:r="%s"><sheets>%s</sheets></workbook>' % (
            ns, rel, "".join('<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (n, i + 1, i + 1) for i, n in enumerate(folhas))),
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.'
        'openxmlformats.org/package/2006/relationships">' + "".join(
            '<Relationship Id="rId%d" Type="%s/worksheet" Target="worksheets/sheet%d.xml"/>' % (i + 1, rel, i + 1)
            for i in range(len(folhas))) + '</Relationships>',
        "xl/worksheets/sheet1.xml": planilha % (ns, linhas),
    }
    for i, nome in enumerate(folhas[1:]):
        partes["xl/worksheets/sheet%d.xml" % (i + 2)] = planilha % (ns, outras[nome])
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for nome, texto in partes.items():
            z.writestr(nome, texto)


def disposicao(destino, forma):
    wb = openpyxl.Workbook()
    a = wb.active
    a.title = "A"
    for linha in range(1, 3001):
        a["A%d" % linha] = linha
    wb.create_sheet("B")["A1"] = 1
    c = wb.create_sheet("C")
    for linha in range(1, 2001):
        c["A%d" % linha] = linha * 2
    wb.save(destino)
    if forma == "openpyxl":
        return
    reescritas = ["xl/workbook.xml", "xl/worksheets/sheet2.xml"]
    grandes = ["xl/worksheets/sheet1.xml", "xl/worksheets/sheet3.xml"]

    def muda(partes):
        por_nome = {info.filename: (info, dados) for info, dados in partes}
        outras = [n for n in por_nome if n not in reescritas + grandes]
        ordem = {"inicio": reescritas + grandes + outras,
                 "meio": grandes[:1] + reescritas + grandes[1:] + outras,
                 "fim": grandes + outras + reescritas}[forma]
        return [por_nome[n] for n in ordem]
    reescreve(destino, muda)


def muda_entrada(arquivo, entrada, muda):
    """The entry's bytes replaced by what `muda` makes of them."""
    achada = []

    def partes_novas(partes):
        novas = []
        for info, dados in partes:
            if info.filename == entrada:
                dados = muda(dados)
                achada.append(entrada)
            novas.append((info, dados))
        return novas
    reescreve(arquivo, partes_novas)
    if not achada:
        sys.exit("sem a entrada " + entrada)


def troca(arquivo, entrada, antigo, novo):
    def muda(dados):
        texto = dados.decode("utf-8")
        if antigo not in texto:
            sys.exit("%s não tem %s" % (entrada, antigo))
        return texto.replace(antigo, novo, 1).encode("utf-8")
    muda_entrada(arquivo, entrada, muda)


def codifica(arquivo, entrada, codificacao, marca):
    def muda(dados):
        texto = dados.decode("utf-8").replace('encoding="UTF-8"', 'encoding="UTF-16"', 1)
        return ("\ufeff" if marca == "1" else "").encode(codificacao) + texto.encode(codificacao)
    muda_entrada(arquivo, entrada, muda)


def valores(arquivo, entrada, lidos):
    def muda(dados):
        texto = dados.decode("utf-8")
        for celula, valor in lidos.items():
            m = re.search(r'(<c r="%s"[^>]*>)(.*?)(</c>)' % celula, texto)
            if not m or "<f" not in m.group(2):
                sys.exit("%s não tem fórmula em %s" % (entrada, celula))
            dentro = re.sub(r"<v>.*?</v>", "", m.group(2)) + "<v>%r</v>" % valor
            texto = texto[:m.start()] + m.group(1) + dentro + m.group(3) + texto[m.end():]
        return texto.encode("utf-8")
    muda_entrada(arquivo, entrada, muda)


def acrescenta(arquivo, entrada, tamanho):
    def muda(partes):
        info = zipfile.ZipInfo(entrada)
        info.compress_type = zipfile.ZIP_STORED
        return partes + [(info, bytes(tamanho))]
    reescreve(arquivo, muda)


def prefixa(arquivo, entrada, forma):
    def com_prefixo(texto):
        return re.sub(r"<(/?)([A-Za-z_][\w.-]*)(?=[\s/>])", r"<\1x:\2", texto)

    def muda(dados):
        texto = dados.decode("utf-8").replace('xmlns="%s"' % PRINCIPAL, 'xmlns:x="%s"' % PRINCIPAL, 1)
        if forma != "dados":
            return com_prefixo(texto).encode("utf-8")
        inicio, fim = texto.index("<sheetData"), texto.index("</sheetData>") + len("</sheetData>")
        folha = texto[inicio:fim].replace("<sheetData", '<sheetData xmlns="%s"' % PRINCIPAL, 1)
        return (com_prefixo(texto[:inicio]) + folha + com_prefixo(texto[fim:])).encode("utf-8")
    muda_entrada(arquivo, entrada, muda)


def mente(arquivo, entrada, tamanho):
    with open(arquivo, "rb") as f:
        dados = bytearray(f.read())
    nome = entrada.encode("utf-8")
    i = dados.find(b"PK\x01\x02")
    while i >= 0:
        n = struct.unpack("<H", dados[i + 28:i + 30])[0]
        if bytes(dados[i + 46:i + 46 + n]) == nome:
            dados[i + 24:i + 28] = struct.pack("<I", tamanho)
            with open(arquivo, "wb") as f:
                f.write(dados)
            return
        i = dados.find(b"PK\x01\x02", i + 4)
    sys.exit("sem a entrada " + entrada)


if __name__ == "__main__":
    if sys.argv[1] == "cria":
        cria(sys.argv[2], json.loads(sys.argv[3]) if len(sys.argv) > 3 else {})
    elif sys.argv[1] == "cadeia":
        cadeia(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "compartilhada":
        compartilhada(*sys.argv[2:4])
    elif sys.argv[1] == "troca":
        troca(*sys.argv[2:6])
    elif sys.argv[1] == "mente":
        mente(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    elif sys.argv[1] == "acrescenta":
        acrescenta(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    elif sys.argv[1] == "prefixa":
        prefixa(*sys.argv[2:5])
    elif sys.argv[1] == "disposicao":
        disposicao(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "codifica":
        codifica(*sys.argv[2:6])
    elif sys.argv[1] == "valores":
        valores(sys.argv[2], sys.argv[3], json.loads(sys.argv[4]))
    elif sys.argv[1] == "entrada":
        with zipfile.ZipFile(sys.argv[2]) as z:
            sys.stdout.buffer.write(z.read(sys.argv[3]))
    elif sys.argv[1] == "le":
        le(sys.argv[2])
    else:
        sys.exit("uso: planilha_teste.py cria DESTINO [AJUSTES] | le ARQUIVO")
