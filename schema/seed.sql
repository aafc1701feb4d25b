-- The rows a new company needs before its first login. The warehouse is not here: the first start asks
-- to create "MAGAZZINO CENTRALE", the warehouse the administrator below works in.

INSERT INTO `versione` (`id`, `VersioneDB`, `VersioneSW`, `DataRelease`) VALUES (1, '6.1.10', '6.1.10', NOW());

-- Counters start at nothing: an empty barcode base means "start from the kind's default base".
INSERT INTO `contatori` (`id`, `CountFatture`, `CountRicFisc`, `CountAssistenze`, `CountPreventivi`, `CountBanco`,
  `CountDdt`, `CountCarichi`, `CountOrdiniCL`, `CountOrdiniFORN`, `BarcodeAss`, `BarcodeFatt`, `BarcodeRicFisc`,
  `BarcodePrev`, `BarcodeBanco`, `BarcodeDdt`, `BarcodeCarichi`, `BarcodeOrdiniCl`, `BarcodeOrdiniForn`,
  `BarcodeArticolo`, `Serialidainserire`, `CountNoteCredito`, `barcodelavori`, `BarcodeTaglia`, `barcodecliente`)
VALUES (1, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', '', '', '', '', '', '', '', '', '', 0, 0, '', '', '');

-- Electronic invoices: ordinary tax regime, the first transmission numbered 1, stamp duty paid by the shop.
INSERT INTO `fatturapa_configurazione` (`id`, `RegimeFiscale`) VALUES (1, 'RF01');

INSERT INTO `backupcontatore` (`id`, `NrUltimo`, `Totale`, `DataUltimo`) VALUES (1, 0, 0, '');

-- Settings kept in single-row tables: the windows update the row, they never insert it.
INSERT INTO `mail` (`hostname`, `port`, `mittente`, `firma`, `username`, `password`) VALUES ('', 587, '', '', '', '');

INSERT INTO `vm_store` (`conn_host`, `conn_port`, `conn_username`, `conn_password`, `conn_prefisso`, `ftp_host`,
  `ftp_port`, `ftp_username`, `ftp_password`, `catalogo_mode`, `ordini_mode`, `clienti_mode`, `attivo`, `dbname`)
VALUES ('', '3306', '', '', 'ps_', '', '21', '', '', 'Manualmente', 'Manualmente', 'Manualmente', 0, '');

INSERT INTO `logostampe` (`preventivi`, `fatture`, `ricfisc`, `ddt`, `resiforn`, `resicliente`, `banco`, `accassist`,
  `ricassist`, `contratti`, `noleggi`, `pos`, `notecredito`, `altro`, `altro1`, `id`)
VALUES (1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);

-- A repair ticket needs at least its customer.
INSERT INTO `campi_obbligatori_cat` (`cliente`, `marca`, `modello`, `causale`, `barcode`, `categoria`, `seriale`,
  `data_accettazione`, `stato_uso`, `accessori`, `difetto`, `dettaglio_difetto`, `note`, `note_interne`)
VALUES (1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);

INSERT INTO `preferenzeriparazioni` (`idPrefRip`, `Testo1`, `Testo2`, `Testo3`, `Testo4`, `Testo5`, `Testo6`, `Testo7`,
  `Testo8`, `Testo9`, `Testo10`, `NoteInterna`, `NoteCliente`)
VALUES (1, '', '', '', '', '', '', '', '', '', '', '', '');

-- Numbering series of the sales documents: the plain one and three lettered ones.
INSERT INTO `suffissi_doc` (`id`, `suffisso`) VALUES (1, ''), (2, 'A'), (3, 'B'), (4, 'C');

INSERT INTO `promo_importi` (`id`, `importo`) VALUES
  (1, 5.00), (2, 10.00), (3, 15.00), (4, 20.00), (5, 25.00), (6, 30.00), (7, 35.00), (8, 40.00), (9, 45.00),
  (10, 50.00), (11, 55.00), (12, 60.00), (13, 65.00), (14, 70.00), (15, 75.00), (16, 80.00), (17, 85.00),
  (18, 90.00), (19, 95.00), (20, 100.00);

-- Fiscal departments. The description starts equal to the department code because a sale row copies the
-- item's department description and the receipt groups its lines by "REPARTO1" ... "REPARTO10".
INSERT INTO `reparti` (`idreparto`, `descrizione`, `reparto`, `aliquota`) VALUES
  (1, 'REPARTO1', 'REPARTO1', 22),
  (2, 'REPARTO2', 'REPARTO2', 10),
  (3, 'REPARTO3', 'REPARTO3', 4),
  (4, 'REPARTO4', 'REPARTO4', 5),
  (5, 'REPARTO5', 'REPARTO5', 0),
  (6, 'REPARTO6', 'REPARTO6', 22),
  (7, 'REPARTO7', 'REPARTO7', 22),
  (8, 'REPARTO8', 'REPARTO8', 22),
  (9, 'REPARTO9', 'REPARTO9', 22),
  (10, 'REPARTO10', 'REPARTO10', 22);

-- Today's Italian VAT rates; 0 is the exempt sale, with its nature and law for the electronic invoice.
INSERT INTO `iva` (`idIva`, `Iva`, `Codice`, `Desc`, `Natura`, `RiferimentoNormativo`) VALUES
  (1, 22, '22', 'IVA 22%', NULL, NULL),
  (2, 10, '10', 'IVA 10%', NULL, NULL),
  (3, 5, '5', 'IVA 5%', NULL, NULL),
  (4, 4, '4', 'IVA 4%', NULL, NULL),
  (5, 0, 'N4', 'ESENTE ART.10', 'N4', 'Esente art. 10 DPR 633/72');

-- Units of measure. Purchase and sale units are two letters; each sale unit names its purchase unit.
INSERT INTO `uma` (`id`, `Descrizione`) VALUES
  (1, 'PZ'), (2, 'KG'), (3, 'HG'), (4, 'GR'), (5, 'MT'), (6, 'CM'), (7, 'LT'), (8, 'CL'), (9, 'ML');
INSERT INTO `umv` (`id`, `UMA`, `Descrizione`) VALUES
  (1, 'PZ', 'PZ'), (2, 'KG', 'KG'), (3, 'HG', 'HG'), (4, 'GR', 'GR'), (5, 'MT', 'MT'), (6, 'CM', 'CM'),
  (7, 'LT', 'LT'), (8, 'CL', 'CL'), (9, 'ML', 'ML');
INSERT INTO `unitamisura` (`idUnitaMisura`, `Unita di misura`) VALUES
  (1, 'PZ'), (2, 'KG'), (3, 'HG'), (4, 'GR'), (5, 'MT'), (6, 'CM'), (7, 'LT'), (8, 'CL'), (9, 'ML');

-- Repair states with the colour a ticket takes in that state (a Windows colour value: blue, green, red
-- bytes; negative values are system colours).
INSERT INTO `statirip` (`id`, `StatoRip`, `colore`) VALUES
  (1, 'ACCETTAZIONE', 65535),
  (2, 'ATTESA ACCETTAZIONE PREVENTIVO', 15780518),
  (3, 'PREVENTIVO ACCETTATO', 128),
  (4, 'IN LAVORAZIONE', -16777214),
  (5, 'SPEDIZIONE ESTERNA', 255),
  (6, 'RIENTRATO', 16776960),
  (7, 'RIENTRO DA RMA', 8388608),
  (8, 'RIPARATO', 12639424),
  (9, 'CONSEGNATO', 65280),
  (10, 'CHIUSO', 32768),
  (11, 'RIAPERTO', 32768);

-- Payments. The method "Contanti" sends a document's money to the till ("CASSA"), any other to the bank.
INSERT INTO `risorse_pagamenti` (`id`, `descrizione`) VALUES (1, 'CASSA'), (2, 'BANCA');

INSERT INTO `modalita_pagamenti` (`id`, `descrizione`, `CodiceMP`) VALUES
  (1, 'Contanti', 'MP01'), (2, 'Bonifico', 'MP05'), (3, 'Ri.Ba.', 'MP12'), (4, 'Assegno', 'MP02'),
  (5, 'Carta di Credito', 'MP08'), (6, 'Bancomat', 'MP08');

INSERT INTO `tipologiepagamenti` (`Tipologia`) VALUES
  ('RIMESSA DIRETTA'), ('CONTANTI'), ('BONIFICO'), ('RICEVUTA BANCARIA'), ('ASSEGNO'), ('CARTA DI CREDITO'),
  ('BANCOMAT');

-- Payment terms with their instalments (days from the start date, percentage of the total).
INSERT INTO `pagamenti` (`id`, `Descrizione`, `Tipologia`, `Giorni`, `Codice`, `NrRate`, `TipoRate`, `TipoDecorrenza`,
  `modalita`) VALUES
  (1, 'RIMESSA DIRETTA', 'RIMESSA DIRETTA', 0, 'RD', 1, 'Normale', 'Data Fattura', 'Contanti'),
  (2, 'CONTANTI', 'CONTANTI', 0, 'CO', 1, 'Normale', 'Data Fattura', 'Contanti'),
  (3, 'BONIFICO VISTA FATTURA', 'BONIFICO', 0, 'BB', 1, 'Normale', 'Data Fattura', 'Bonifico'),
  (4, 'BONIFICO 30 GG D.F.', 'BONIFICO', 30, 'BB30', 1, 'Normale', 'Data Fattura', 'Bonifico'),
  (5, 'BONIFICO 30 GG F.M.', 'BONIFICO', 30, 'BB30FM', 1, 'Normale', 'Fine mese', 'Bonifico'),
  (6, 'RI.BA. 30 GG F.M.', 'RICEVUTA BANCARIA', 30, 'RB30FM', 1, 'Normale', 'Fine mese', 'Ri.Ba.'),
  (7, 'RI.BA. 30/60 GG F.M.', 'RICEVUTA BANCARIA', 60, 'RB3060FM', 2, 'Normale', 'Fine mese', 'Ri.Ba.'),
  (8, 'RI.BA. 30/60/90 GG F.M.', 'RICEVUTA BANCARIA', 90, 'RB306090FM', 3, 'Normale', 'Fine mese', 'Ri.Ba.'),
  (9, 'ASSEGNO', 'ASSEGNO', 0, 'AS', 1, 'Normale', 'Data Fattura', 'Assegno'),
  (10, 'CARTA DI CREDITO', 'CARTA DI CREDITO', 0, 'CC', 1, 'Normale', 'Data Fattura', 'Carta di Credito'),
  (11, 'BANCOMAT', 'BANCOMAT', 0, 'BM', 1, 'Normale', 'Data Fattura', 'Bancomat');

INSERT INTO `rate` (`id`, `GGScadenza`, `PercScad`, `idpagamento`) VALUES
  (1, 0, 100, 1),
  (2, 0, 100, 2),
  (3, 0, 100, 3),
  (4, 30, 100, 4),
  (5, 30, 100, 5),
  (6, 30, 100, 6),
  (7, 30, 50, 7), (8, 60, 50, 7),
  (9, 30, 33, 8), (10, 60, 33, 8), (11, 90, 34, 8),
  (12, 0, 100, 9),
  (13, 0, 100, 10),
  (14, 0, 100, 11);

-- The administrators' group may do everything; its operator logs in the first time with admin/admin.
INSERT INTO `gruppi` (`id`, `descrizione`, `fatturazione`, `carico`, `pos`, `statistiche`, `fullaccess`, `cat`,
  `magazzino`, `ddt`, `ordini_fornitori`, `ordini_clienti`, `impostazioni`, `scadenzario`, `planner`,
  `cancellazione`, `aggiornamento`)
VALUES (1, 'AMMINISTRATORI', 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);

INSERT INTO `utenti` (`id`, `nome`, `username`, `password`, `nomepermesso`, `Attivo`, `loggato`, `magazzino`)
VALUES (1, 'Amministratore', 'admin', 'admin', 'AMMINISTRATORI', 1, 0, 'MAGAZZINO CENTRALE');
