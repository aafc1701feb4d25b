# Upgrade of a company database to the program's schema.
#
# Run whole, from the first line to the last, whenever a company database carries another schema
# version; afterwards the program installs its stored procedures again and stamps the version.
# Every step is safe to repeat: a column is added only when missing, a table only when missing,
# seed rows only when absent.
#
# A line "#@table name" stands for the CREATE TABLE IF NOT EXISTS of that table as the program's
# table definitions give it, so a table made here is the same as in a new company database.
# Added columns carry the same type and default as in a new company database.

# Versione 5.2.4
CALL AddColumnUnlessExists(DATABASE(), 'riparazioni', 'selection', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'dettreso', 'idmagazzino', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'dettreso', 'Magazzino', 'varchar(50) DEFAULT NULL');

# Versione 5.3.0
#@table vm_store
INSERT INTO vm_store (attivo) SELECT 0 FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM vm_store);
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'pubblicato', 'tinyint(1) DEFAULT 0');

# Versione 5.4.0
#@table suffissi_doc
INSERT INTO suffissi_doc (suffisso) SELECT '' FROM DUAL
  WHERE NOT EXISTS (SELECT 1 FROM suffissi_doc WHERE IFNULL(suffisso, '') = '');
INSERT INTO suffissi_doc (suffisso) SELECT 'A' FROM DUAL
  WHERE NOT EXISTS (SELECT 1 FROM suffissi_doc WHERE suffisso = 'A');
INSERT INTO suffissi_doc (suffisso) SELECT 'B' FROM DUAL
  WHERE NOT EXISTS (SELECT 1 FROM suffissi_doc WHERE suffisso = 'B');
INSERT INTO suffissi_doc (suffisso) SELECT 'C' FROM DUAL
  WHERE NOT EXISTS (SELECT 1 FROM suffissi_doc WHERE suffisso = 'C');
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'Suffisso', 'varchar(5) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'ddt', 'Suffisso', 'varchar(5) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'preventivi', 'Suffisso', 'varchar(5) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'notecredito', 'Suffisso', 'varchar(5) DEFAULT NULL');

# Versione 5.4.1
# DUPLICA_ARTICOLO(IDARTICOLO): installed with the stored procedures after this list.

# Versione 5.4.3
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'vendita_sospesa', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'dettbanco', 'vendita_sospesa', 'tinyint(1) DEFAULT 0');

# Versione 5.4.4
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'obsoleto', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'dettbanco', 'ID', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'buonicredito', 'riscosso', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'buonicredito', 'emissione', 'date DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'num_acquisizione', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'data_ass', 'date DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'num_ass', 'varchar(70) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'importo_ass', 'decimal(11,2) DEFAULT 0.00');
CALL AddColumnUnlessExists(DATABASE(), 'banco', 'banca_ass', 'varchar(120) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'acquisizioni', 'path', 'varchar(255) DEFAULT NULL');

# Versione 5.5.0
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'esente_iva', 'tinyint(1) DEFAULT 0');

# Versione 5.5.1
CALL AddColumnUnlessExists(DATABASE(), 'acquisizioni', 'iddoc', 'int(11) DEFAULT 0');

# Versione 5.6.0
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'punti', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'vincolo', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'promo_importo', 'decimal(11,2) DEFAULT 0.00');
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'vodafone_pack', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'selezione', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'articoli', 'idpromozione', 'int(11) DEFAULT 0');
#@table promo_importi
INSERT IGNORE INTO promo_importi (id, importo) VALUES
  (1, 5.00), (2, 10.00), (3, 15.00), (4, 20.00), (5, 25.00),
  (6, 30.00), (7, 35.00), (8, 40.00), (9, 45.00), (10, 50.00),
  (11, 55.00), (12, 60.00), (13, 65.00), (14, 70.00), (15, 75.00),
  (16, 80.00), (17, 85.00), (18, 90.00), (19, 95.00), (20, 100.00);
#@table vodafone_scarico
#@table promo
#@table articoli_promo
CALL AddColumnUnlessExists(DATABASE(), 'vodafone_scarico', 'idmagazzino', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'vodafone_scarico', 'Magazzino', 'varchar(50) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'vodafone_scarico', 'Let', 'varchar(10) DEFAULT NULL');
# Row discounts are whole percentages and may exceed 127: the column stays a full integer.
ALTER TABLE dettfattura MODIFY COLUMN Sconto int(11) DEFAULT 0;
CALL AddColumnUnlessExists(DATABASE(), 'acquisizioni', 'idmagazzino', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'vm_store', 'dbname', 'varchar(50) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'riparazioni', 'ric_stampata', 'tinyint(1) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'riparazioni', 'num_web', 'int(11) DEFAULT 0');

# Versione 6.0
CALL AddColumnUnlessExists(DATABASE(), 'riparazioni', 'num_web', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'promo', 'category_type', 'varchar(50) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'promo', 'category_name', 'varchar(120) DEFAULT NULL');

# Versione 6.1
CALL AddColumnUnlessExists(DATABASE(), 'dettbanco', 'scontoval', 'decimal(11,2) DEFAULT 0.00');
ALTER TABLE dettbanco MODIFY COLUMN Sconto int(11) DEFAULT 0;
CALL AddColumnUnlessExists(DATABASE(), 'dettbanco', 'idpromo', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'dettbanco', 'promo_desc', 'varchar(255) DEFAULT NULL');

# Versione 6.1.3
# The customer and supplier lists search by name.
CREATE INDEX IF NOT EXISTS ix_RagioneSociale ON clienti (RagioneSociale);
CREATE INDEX IF NOT EXISTS ix_RagSoc ON fornitori (RagSoc);
# Stock history is summed per item and warehouse, movements are listed by day, items are found by
# description and supplier.
CREATE INDEX IF NOT EXISTS ix_idArticolo_idMagazzino ON venduti (idArticolo, idMagazzino);
CREATE INDEX IF NOT EXISTS ix_data ON venduti (data);
CREATE INDEX IF NOT EXISTS ix_idarticolo_idMagazzino ON acquisti (idarticolo, idMagazzino);
CREATE INDEX IF NOT EXISTS ix_idarticolo_Data_prezzoacquisto ON acquisti (idarticolo, Data, prezzoacquisto);
CREATE INDEX IF NOT EXISTS ix_idarticolo_idmagazzino ON dettreso (idarticolo, idmagazzino);
CREATE INDEX IF NOT EXISTS ix_Descrizione ON articoli (Descrizione);
CREATE INDEX IF NOT EXISTS ix_Fornitore ON articoli (Fornitore);
CREATE INDEX IF NOT EXISTS ix_Fornitore ON articoli_fornitori (Fornitore);

# Versione 6.1.4
# Stock work tables: each window's rows carry their owner, so that two workstations filling the
# inventory or the under-stock list at once never read or delete each other's rows; the list's
# barcode is the item's full barcode.
CALL AddColumnUnlessExists(DATABASE(), 'inventario', 'proprietario', 'varchar(36) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_proprietario ON inventario (proprietario);
CALL AddColumnUnlessExists(DATABASE(), 'sottoscorta', 'proprietario', 'varchar(36) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_proprietario ON sottoscorta (proprietario);
# Rows left from the time the tables were shared belong to no window.
DELETE FROM inventario WHERE proprietario IS NULL;
DELETE FROM sottoscorta WHERE proprietario IS NULL;
# The list's barcode (now the item's full barcode) and the operators' passwords (now Argon2id
# hashes) are wider: the upgrade widens them after this list, as every column that grew.

# Versione 6.1.5
# Goods-in rows and purchase history have a key of their own: two shipping-cost rows of one load
# can be told apart, and a removed row takes exactly its purchase history with it.
CALL AddColumnUnlessExists(DATABASE(), 'dettcarico', 'id', 'int(11) NOT NULL AUTO_INCREMENT PRIMARY KEY');
CALL AddColumnUnlessExists(DATABASE(), 'acquisti', 'id', 'int(11) NOT NULL AUTO_INCREMENT PRIMARY KEY');
CREATE INDEX IF NOT EXISTS ix_idcarico_idarticolo ON acquisti (idcarico, idarticolo);
# A scanned item is found among its load's rows through an index.
CREATE INDEX IF NOT EXISTS ix_idCarico_idarticolo ON dettcarico (idCarico, idarticolo);
# Size/colour work rows belong to the load or document window that made them; rows left from the
# time the tables were shared belong to nobody.
CALL AddColumnUnlessExists(DATABASE(), 'caricotc', 'idcarico', 'int(11) DEFAULT 0');
CALL AddColumnUnlessExists(DATABASE(), 'caricotc', 'proprietario', 'varchar(36) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_proprietario ON caricotc (proprietario);
CALL AddColumnUnlessExists(DATABASE(), 'scaricotc', 'proprietario', 'varchar(36) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_proprietario ON scaricotc (proprietario);
DELETE FROM caricotc WHERE proprietario IS NULL;
DELETE FROM scaricotc WHERE proprietario IS NULL;
# A scanned cell barcode finds its size/colour cell through an index.
CREATE INDEX IF NOT EXISTS ix_BAR1 ON disptc (BAR1);
CREATE INDEX IF NOT EXISTS ix_BAR2 ON disptc (BAR2);
CREATE INDEX IF NOT EXISTS ix_BAR3 ON disptc (BAR3);
CREATE INDEX IF NOT EXISTS ix_BAR4 ON disptc (BAR4);
CREATE INDEX IF NOT EXISTS ix_BAR5 ON disptc (BAR5);
CREATE INDEX IF NOT EXISTS ix_BAR6 ON disptc (BAR6);
CREATE INDEX IF NOT EXISTS ix_BAR7 ON disptc (BAR7);
CREATE INDEX IF NOT EXISTS ix_BAR8 ON disptc (BAR8);
CREATE INDEX IF NOT EXISTS ix_BAR9 ON disptc (BAR9);
CREATE INDEX IF NOT EXISTS ix_BAR10 ON disptc (BAR10);
CREATE INDEX IF NOT EXISTS ix_BAR11 ON disptc (BAR11);
CREATE INDEX IF NOT EXISTS ix_BAR12 ON disptc (BAR12);
CREATE INDEX IF NOT EXISTS ix_BAR13 ON disptc (BAR13);
CREATE INDEX IF NOT EXISTS ix_BAR14 ON disptc (BAR14);
CREATE INDEX IF NOT EXISTS ix_BAR15 ON disptc (BAR15);
CREATE INDEX IF NOT EXISTS ix_BAR16 ON disptc (BAR16);
CREATE INDEX IF NOT EXISTS ix_BAR17 ON disptc (BAR17);
CREATE INDEX IF NOT EXISTS ix_BAR18 ON disptc (BAR18);
CREATE INDEX IF NOT EXISTS ix_BAR19 ON disptc (BAR19);
CREATE INDEX IF NOT EXISTS ix_BAR20 ON disptc (BAR20);
CREATE INDEX IF NOT EXISTS ix_BAR21 ON disptc (BAR21);
CREATE INDEX IF NOT EXISTS ix_BAR22 ON disptc (BAR22);
CREATE INDEX IF NOT EXISTS ix_BAR23 ON disptc (BAR23);
CREATE INDEX IF NOT EXISTS ix_BAR24 ON disptc (BAR24);
CREATE INDEX IF NOT EXISTS ix_BAR25 ON disptc (BAR25);
CREATE INDEX IF NOT EXISTS ix_BAR26 ON disptc (BAR26);
CREATE INDEX IF NOT EXISTS ix_BAR27 ON disptc (BAR27);
CREATE INDEX IF NOT EXISTS ix_BAR28 ON disptc (BAR28);
CREATE INDEX IF NOT EXISTS ix_BAR29 ON disptc (BAR29);
CREATE INDEX IF NOT EXISTS ix_BAR30 ON disptc (BAR30);
# Serials are found by load and sold ones by item; a serial number is unique. Where the stored
# serials already hold a duplicate the index stays as it was (the program checks under a lock).
CREATE INDEX IF NOT EXISTS ix_idCarico ON seriali (idCarico);
CREATE INDEX IF NOT EXISTS ix_idArticolo ON serialidocumenti (idArticolo);
SET @carvendo_serials_distinct = (SELECT COUNT(*) = 0 FROM (SELECT Seriale FROM seriali GROUP BY Seriale HAVING COUNT(*) > 1) AS doppi);
SET @carvendo_serials_unique = (SELECT COUNT(*) > 0 FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'seriali' AND INDEX_NAME = 'ix_Seriale' AND NON_UNIQUE = 0);
EXECUTE IMMEDIATE IF(@carvendo_serials_distinct AND NOT @carvendo_serials_unique, 'ALTER TABLE seriali DROP INDEX IF EXISTS ix_Seriale, ADD UNIQUE INDEX ix_Seriale (Seriale)', 'DO 0');
# The life of every serial number.
#@table storicoseriali
# Serial numbers copied into documents, returns and sales (and the cash book's descriptions) are
# as wide as where they come from: the upgrade widens them after this list.

# Versione 6.1.6
# A sale row has a key of its own (it was a plain number, 0 on every row): the rows kept so far are
# numbered first, then the column becomes the key. Skipped once it is the key.
SET @carvendo_dettbanco_keyed = (SELECT COUNT(*) > 0 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'dettbanco' AND COLUMN_NAME = 'ID' AND COLUMN_KEY = 'PRI');
SET @carvendo_dettbanco_row = 0;
EXECUTE IMMEDIATE IF(@carvendo_dettbanco_keyed, 'DO 0', 'UPDATE dettbanco SET ID = (@carvendo_dettbanco_row := @carvendo_dettbanco_row + 1) ORDER BY idBanco');
EXECUTE IMMEDIATE IF(@carvendo_dettbanco_keyed, 'DO 0', 'ALTER TABLE dettbanco CHANGE COLUMN ID ID int(11) NOT NULL AUTO_INCREMENT, ADD PRIMARY KEY (ID)');

# Versione 6.1.7
# A receipt keeps the lines it prints and whether they reached the fiscal printer of the workstation
# that closed the sale (0 not yet, 1 being handed over, 2 handed over), so that one the printer
# never got can be sent again. Receipts kept before have no lines and are never offered again.
CALL AddColumnUnlessExists(DATABASE(), 'scontrini', 'righe_stampa', 'longtext DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'scontrini', 'riga_avvio', 'varchar(255) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'scontrini', 'postazione', 'varchar(100) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'scontrini', 'stato_invio', 'int(11) DEFAULT 0');
CREATE INDEX IF NOT EXISTS ix_postazione_stato_invio ON scontrini (postazione, stato_invio);

# Versione 6.1.8
# The SMS account and texts are kept in the company database (they were a file of one workstation).
#@table sms_configurazione
#@table sms_corpo

# Versione 6.1.9
# Electronic invoices. The seller's fiscal data, the transmission counter and the stamp duty: one row,
# tax regime RF01 (ordinary), country IT, not in liquidation, stamp duty 2,00 over 77,47 paid by the
# shop; the first transmission is number 1.
#@table fatturapa_configurazione
INSERT INTO fatturapa_configurazione (RegimeFiscale) SELECT 'RF01' FROM DUAL
  WHERE NOT EXISTS (SELECT 1 FROM fatturapa_configurazione);
# Customers: a customer kept so far with a VAT number is a company, any other a private person; no
# recipient code ("0000000"), country IT. The kind is guessed only on the run that adds it, so a
# kind the shop changed afterwards stays.
SET @carvendo_tipocliente_new = (SELECT COUNT(*) = 0 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'clienti' AND COLUMN_NAME = 'TipoCliente');
CALL AddColumnUnlessExists(DATABASE(), 'clienti', 'TipoCliente', 'varchar(2) DEFAULT ''PF''');
CALL AddColumnUnlessExists(DATABASE(), 'clienti', 'CodiceDestinatario', 'varchar(7) DEFAULT ''0000000''');
CALL AddColumnUnlessExists(DATABASE(), 'clienti', 'PEC', 'varchar(120) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'clienti', 'Nazione', 'varchar(2) DEFAULT ''IT''');
EXECUTE IMMEDIATE IF(@carvendo_tipocliente_new, 'UPDATE clienti SET TipoCliente = ''AZ'' WHERE TRIM(IFNULL(pIva, '''')) <> ''''', 'DO 0');
# VAT rates: a zero rate whose code already is a nature code takes it as its nature; any other zero
# rate stays without one, and an invoice using it is refused at export until the shop sets it.
CALL AddColumnUnlessExists(DATABASE(), 'iva', 'Natura', 'varchar(4) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'iva', 'RiferimentoNormativo', 'varchar(100) DEFAULT NULL');
UPDATE iva SET Natura = UPPER(TRIM(Codice))
  WHERE Iva = 0 AND Natura IS NULL AND UPPER(TRIM(Codice)) IN ('N1', 'N2.1', 'N2.2', 'N3.1', 'N3.2', 'N3.3', 'N3.4', 'N3.5', 'N3.6', 'N4', 'N5', 'N6.1', 'N6.2', 'N6.3', 'N6.4', 'N6.5', 'N6.6', 'N6.7', 'N6.8', 'N6.9', 'N7');
# Payment methods: the code read from the description the shop gave them; anything not recognised is a
# bank transfer (MP05), the usual way a business invoice is paid. Only on the run that adds the column.
SET @carvendo_codicemp_new = (SELECT COUNT(*) = 0 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'modalita_pagamenti' AND COLUMN_NAME = 'CodiceMP');
CALL AddColumnUnlessExists(DATABASE(), 'modalita_pagamenti', 'CodiceMP', 'varchar(4) DEFAULT ''MP05''');
EXECUTE IMMEDIATE IF(@carvendo_codicemp_new, 'UPDATE modalita_pagamenti SET CodiceMP = CASE WHEN descrizione LIKE ''%contant%'' THEN ''MP01'' WHEN descrizione LIKE ''%assegn%'' THEN ''MP02'' WHEN descrizione LIKE ''%carta%'' OR descrizione LIKE ''%bancomat%'' THEN ''MP08'' WHEN REPLACE(REPLACE(descrizione, ''.'', ''''), '' '', '''') LIKE ''%riba%'' OR descrizione LIKE ''%ricevuta banc%'' THEN ''MP12'' WHEN descrizione LIKE ''rid%'' OR descrizione LIKE ''%sdd%'' THEN ''MP19'' ELSE ''MP05'' END', 'DO 0');
# Withholding kinds: natural persons' withholding (RT01); a kind without a payment reason gets A
# (self-employed work), the common case of a shop's invoice.
CALL AddColumnUnlessExists(DATABASE(), 'ritenute_acconto', 'TipoRitenuta', 'varchar(4) DEFAULT ''RT01''');
UPDATE ritenute_acconto SET causale = 'A' WHERE TRIM(IFNULL(causale, '')) = '';
# Invoices remember the electronic invoice file last exported.
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'FilePA', 'varchar(50) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'ProgressivoPA', 'varchar(5) DEFAULT NULL');
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'DataExportPA', 'datetime DEFAULT NULL');
# The exchange system's PEC address, for the shop that sends its files by PEC.
CALL AddColumnUnlessExists(DATABASE(), 'fatturapa_configurazione', 'PecSdI', 'varchar(120) DEFAULT NULL');
# The invoice list pages through one kind of invoice newest first, and searches by customer and date.
CREATE INDEX IF NOT EXISTS ix_TipoFattura_idFattura ON fatture (TipoFattura, idFattura);
CREATE INDEX IF NOT EXISTS ix_RagioneSociale ON fatture (RagioneSociale);
CREATE INDEX IF NOT EXISTS ix_data ON fatture (data);

# Versione 6.1.10
# Each electronic invoice file exported is recorded before it is written, so that one the program did
# not manage to write is written again. Files exported before have no record.
#@table fatturapa_file
# A load made from a supplier's electronic invoice remembers which one: seller's VAT id, number and
# date. Loads made before are recognised by supplier, number and date as they were.
CALL AddColumnUnlessExists(DATABASE(), 'carichi', 'FatturaElettronica', 'varchar(120) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_FatturaElettronica ON carichi (FatturaElettronica);
# A supplier invoice's lines are matched to items by the supplier's own code.
CREATE INDEX IF NOT EXISTS ix_CodiceF ON articoli_fornitori (CodiceF);
# An invoice keeps the stamp duty it was saved with, so that a change of the settings leaves its print
# and its file agreeing with its stored total. Invoices saved before keep both empty (NULL) and go on
# being decided from the current settings, as before; only on the run that adds the columns.
SET @carvendo_bollo_new = (SELECT COUNT(*) = 0 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'fatture' AND COLUMN_NAME = 'ImportoBollo');
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'ImportoBollo', 'decimal(11,2) DEFAULT 0.00');
CALL AddColumnUnlessExists(DATABASE(), 'fatture', 'BolloACaricoCliente', 'tinyint(1) DEFAULT 0');
EXECUTE IMMEDIATE IF(@carvendo_bollo_new, 'UPDATE fatture SET ImportoBollo = NULL, BolloACaricoCliente = NULL', 'DO 0');
# The earlier file a new one replaces leaves the folder only once the new one is written.
CALL AddColumnUnlessExists(DATABASE(), 'fatturapa_file', 'Sostituisce', 'varchar(50) DEFAULT NULL');
CREATE INDEX IF NOT EXISTS ix_Sostituisce ON fatturapa_file (Sostituisce);
# A load keeps the instalments of its supplier's e-invoice until the operator assigns others.
CALL AddColumnUnlessExists(DATABASE(), 'carichi', 'ScadenzeDaFile', 'tinyint(1) DEFAULT 0');
# A 0% invoice row keeps the VAT nature of the code it was sold under, so that a shop with more than
# one zero rate states each row's own. Rows made before keep NULL and take the first zero rate's
# nature, as before.
CALL AddColumnUnlessExists(DATABASE(), 'dettfattura', 'Natura', 'varchar(4) DEFAULT NULL');
