-- A small organisation for a newcomer to download and to send a month to
-- (loaded by the start of the central test server, not by its reload):
-- the sector of the demonstration church 315 with its congregations and
-- their internal cash boxes, a second sector of the same region,
-- positions, departments, outflow accounts and the members of church 315.
-- Re-runnable: every row has its own key and is added only when missing.
-- The codes stay clear of those the tests use.

INSERT IGNORE INTO tblsetores (codigo, nome, codregional) VALUES
    (31, 'SETOR LESTE', 3),
    (32, 'SETOR NORTE', 3);

INSERT IGNORE INTO tblcongregacoes (codigo, nome, setor) VALUES
    (315, 'JARDIM DAS FLORES', 31),
    (316, 'Vila São José', 31),
    (317, 'Parque das Águas', 31),
    (318, 'Morada do Sol', 31),
    (321, 'Centro Norte', 32),
    (322, 'Jardim Esperança', 32);

-- The internal cash box ("... INT") of each church of sector 31, which the
-- send of the month looks for; the demonstration church's comes first.
-- The table has no key of its own, so each box is added only when its
-- code is missing.
INSERT INTO tblcaixas (Codigo, Descricao, congregacao)
SELECT c.Codigo, c.Descricao, c.congregacao FROM (
    SELECT 31500 AS Codigo, 'CAIXA JARDIM DAS FLORES INT' AS Descricao, 315 AS congregacao UNION ALL
    SELECT 31600, 'CAIXA VILA SÃO JOSÉ INT', 316 UNION ALL
    SELECT 31700, 'CAIXA PARQUE DAS ÁGUAS INT', 317 UNION ALL
    SELECT 31800, 'CAIXA MORADA DO SOL INT', 318
) AS c
WHERE NOT EXISTS (SELECT 1 FROM tblcaixas t WHERE t.Codigo = c.Codigo);

-- The newest row of a congregation gives its calculation type.
INSERT IGNORE INTO tblcongremessas (Codigo, CodDesconto, setor, congregacao) VALUES
    (3101, '1', 31, 316),
    (3102, '2', 31, 316),
    (3103, '4', 31, 317),
    (3104, NULL, 31, 318),
    (3201, '5', 32, 321);

INSERT IGNORE INTO tblcargos (codigo, descricao, descricaocompleta) VALUES
    (1, 'Congregado', 'CG'),
    (2, 'Pastor', 'PR'),
    (3, 'Evangelista', 'EV'),
    (4, 'Missionário', 'MS'),
    (5, 'Presbítero', 'PB'),
    (6, 'Diácono', 'DC'),
    (7, 'Cooperador', 'CP'),
    (8, 'Membro', 'MB'),
    (9, 'Visitante', 'CG'),
    (10, 'Diaconisa', 'DC');

INSERT IGNORE INTO tbldepartamentos (codigo, descricao) VALUES
    (3101, '---'),
    (3102, 'Círculo de Oração'),
    (3103, 'Escola Bíblica Dominical'),
    (3104, 'Música'),
    (3105, 'Mocidade'),
    (3106, 'Ação Social');

INSERT IGNORE INTO tblcontas (codseq, reduzido, Descricao, tipo) VALUES
    (3101, 3101, 'Dízimos', 'C'),
    (3102, 3102, 'Ofertas', 'C'),
    (4101, 4101, 'Energia elétrica', 'D'),
    (4102, 4102, 'Água e esgoto', 'D'),
    (4110, 4110, 'Aluguel do salão', 'D'),
    (4205, 4205, 'Material de limpeza', 'D'),
    (4301, 4301, 'Prebenda pastoral', 'D'),
    (4302, 4302, 'Ajuda de custo a obreiros', 'D'),
    (4401, 4401, 'Manutenção do templo', 'D'),
    (4501, 4501, 'Telefone e internet', 'D');

INSERT IGNORE INTO tblmembros (codigo, congregacao, codmembro, nome, cargo) VALUES
    (31501, 315, '12345', 'José da Silva', 5),
    (31502, 315, '12346', 'Áurea Mendes', 8),
    (31503, 315, '13002', 'Ana Prado', 6),
    (31504, 315, '10001', 'Paulo Ribeiro', 2),
    (31505, 315, '11500', 'Eliana Costa', 3),
    (31506, 315, '14321', 'André Luiz', 7),
    (31507, 315, '15678', 'Élcio Nunes', 4),
    (31508, 315, '16020', 'Clara Fonseca', 10),
    (31509, 315, '16101', 'Márcia Gonçalves', 8),
    (31510, 315, '16102', 'João Batista Pereira', 8),
    (31511, 315, '16103', 'Luíza Helena Araújo', 8),
    (31512, 315, '16104', 'Sebastião Moreira', 5),
    (31513, 315, '16105', 'Conceição Aparecida Santos', 8),
    (31514, 315, '16106', 'Antônio Carlos D''Ávila', 6),
    (31515, 315, '16107', 'Raimunda Nonato', 8),
    (31516, 315, '16108', 'Francisco de Assis Lima', 7),
    (31517, 315, '16109', 'Tereza Cristina Rocha', 8),
    (31518, 315, '16110', 'Benedito Alves', 8),
    (31519, 315, '16111', 'Jéssica Fernandes', 1),
    (31520, 315, '16112', 'Otávio Augusto Barros', 8),
    (31521, 315, '16113', 'Ivone Sampaio', 8),
    (31522, 315, '16114', 'Rogério Tavares', 6),
    (31523, 315, '16115', 'Simone Brandão', 8),
    (31524, 315, '16116', 'Cícero Romão', 8),
    (31525, 315, '16117', 'Débora Assunção', 8),
    (31526, 315, '16118', 'Wellington Souza', NULL),
    (31527, 315, '16119', 'Fátima Bernardes Leão', 8),
    (31528, 315, '16120', 'Lúcio Flávio Mendonça', 7),
    (31529, 315, '16121', 'Priscila Queiroz', 8),
    (31530, 315, '16122', 'Hélio Damasceno', 8),
    (31531, 315, '16123', 'Rosângela Vieira', 8),
    (31532, 315, '16124', 'Gilberto Amaral', 3),
    (31533, 315, '16125', 'Natália Caldeira', 8),
    (31534, 315, '16126', 'Edson Arantes', 8),
    (31535, 315, '16127', 'Íris Magalhães', 1),
    (31536, 315, '16128', 'Zuleica Pacheco', 8),
    (31601, 316, '16201', 'Mariana Teixeira', 8),
    (31602, 316, '16202', 'Rui Barbosa Neto', 5),
    (31701, 317, '16301', 'Elza Soares Prado', 8);
