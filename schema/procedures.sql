-- Stored procedures of a company database.
--
-- The program calls these by name and relies on their effect; nothing else moves stock in
-- `giacenze`. Every procedure is dropped and created again, so this file can run on a database
-- that already has an older version of any of them (new company, upgrade, repair).
--
-- Inside a procedure an unqualified name that matches a parameter means the parameter, even when a
-- column has the same name. Columns are therefore always written with their table or alias.

DELIMITER $$

-- ---------------------------------------------------------------------------------------------
-- Stock of one item in one warehouse
-- ---------------------------------------------------------------------------------------------

-- Adds the two deltas to the item's stock row in the warehouse, creating the row when it is
-- missing (a movement is never lost). New databases hold a unique index on (idarticolo,
-- idmagazzino): two workstations creating the same row at once end in one row holding both
-- movements. Old databases without the index still get one row per call sequence.
DROP PROCEDURE IF EXISTS MUOVI_GIACENZA$$
CREATE PROCEDURE MUOVI_GIACENZA(p_idarticolo INT, p_idmagazzino INT, p_magazzino VARCHAR(120),
                                p_giacenza DOUBLE, p_disponibilita DOUBLE)
BEGIN
  SET p_giacenza = IFNULL(p_giacenza, 0);
  SET p_disponibilita = IFNULL(p_disponibilita, 0);
  IF EXISTS (SELECT 1 FROM giacenze g
              WHERE g.idarticolo = p_idarticolo AND g.idmagazzino = p_idmagazzino) THEN
    UPDATE giacenze g
       SET g.giacenza = IFNULL(g.giacenza, 0) + p_giacenza,
           g.disponibilita = IFNULL(g.disponibilita, 0) + p_disponibilita
     WHERE g.idarticolo = p_idarticolo AND g.idmagazzino = p_idmagazzino;
  ELSE
    IF p_magazzino IS NULL THEN
      SET p_magazzino = (SELECT m.Descrizione FROM magazzini m
                          WHERE m.idMagazzino = p_idmagazzino
                          ORDER BY m.idMagazzino LIMIT 1);
    END IF;
    INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita)
    VALUES (p_idarticolo, p_idmagazzino, p_magazzino, p_giacenza, p_disponibilita)
    ON DUPLICATE KEY UPDATE
      giacenza = IFNULL(giacenza, 0) + p_giacenza,
      disponibilita = IFNULL(disponibilita, 0) + p_disponibilita;
  END IF;
END$$

-- Goods in: the item's stock row in the warehouse holds quantita more (created when missing).
DROP PROCEDURE IF EXISTS CARICO_MAGAZZINO_INSERT$$
CREATE PROCEDURE CARICO_MAGAZZINO_INSERT(idarticolo INT, idmagazzino INT, magazzino VARCHAR(120),
                                         quantita DOUBLE)
BEGIN
  CALL MUOVI_GIACENZA(idarticolo, idmagazzino, IFNULL(magazzino, ''), quantita, quantita);
END$$

-- Goods in on an existing row; a missing row is created with the warehouse's name.
DROP PROCEDURE IF EXISTS CARICO_MAGAZZINO_UPDATE$$
CREATE PROCEDURE CARICO_MAGAZZINO_UPDATE(idarticolo INT, idmagazzino INT, quantita DOUBLE)
BEGIN
  CALL MUOVI_GIACENZA(idarticolo, idmagazzino, NULL, quantita, quantita);
END$$

-- Goods out. Stock may go below zero: a sale is never refused for lack of stock.
DROP PROCEDURE IF EXISTS SCARICO_MAGAZZINO$$
CREATE PROCEDURE SCARICO_MAGAZZINO(idarticolo INT, idmagazzino INT, quantita DOUBLE)
BEGIN
  CALL MUOVI_GIACENZA(idarticolo, idmagazzino, NULL, -quantita, -quantita);
END$$

-- A counter sale's stock: every item of the sale unloaded by SCARICO_MAGAZZINO with the sum of its
-- rows, in item order, so that two tills selling the same items lock their stock rows in the same
-- order. One call for the whole sale, however many rows it has.
DROP PROCEDURE IF EXISTS SCARICO_VENDITA$$
CREATE PROCEDURE SCARICO_VENDITA(p_idbanco INT, p_idmagazzino INT)
BEGIN
  DECLARE v_idarticolo INT DEFAULT 0;
  DECLARE v_quantita DOUBLE;
  righe: LOOP
    SET v_idarticolo = (SELECT MIN(d.idarticolo) FROM dettbanco d
                         WHERE d.idBanco = p_idbanco AND d.idarticolo > v_idarticolo);
    IF v_idarticolo IS NULL THEN
      LEAVE righe;
    END IF;
    SET v_quantita = (SELECT SUM(d.quantita) FROM dettbanco d
                       WHERE d.idBanco = p_idbanco AND d.idarticolo = v_idarticolo);
    CALL SCARICO_MAGAZZINO(v_idarticolo, p_idmagazzino, v_quantita);
  END LOOP righe;
END$$

-- A reservation (customer order, repair part): only the available quantity falls.
DROP PROCEDURE IF EXISTS SCARICA_DISPONIBILITA$$
CREATE PROCEDURE SCARICA_DISPONIBILITA(idarticolo INT, idmagazzino INT, quantita DOUBLE)
BEGIN
  CALL MUOVI_GIACENZA(idarticolo, idmagazzino, NULL, 0, -quantita);
END$$

-- A reservation given back: only the available quantity rises.
DROP PROCEDURE IF EXISTS RIASSESTA_DISPONIBILITA$$
CREATE PROCEDURE RIASSESTA_DISPONIBILITA(idarticolo INT, idmagazzino INT, quantita DOUBLE)
BEGIN
  CALL MUOVI_GIACENZA(idarticolo, idmagazzino, NULL, 0, quantita);
END$$

-- ---------------------------------------------------------------------------------------------
-- Under-stock list
-- ---------------------------------------------------------------------------------------------

-- An item is under its minimum when its stock is at or below it (the same test as the list:
-- "giacenza = scorta or giacenza < scorta"); an empty stock or minimum is not a figure to compare.
DROP PROCEDURE IF EXISTS VERIFICASOTTOSC$$
CREATE PROCEDURE VERIFICASOTTOSC(idarticolo INT, OUT sottosc INT, OUT giacenza DOUBLE,
                                 OUT scorta DOUBLE)
BEGIN
  SET sottosc = IFNULL((SELECT a.giacenza <= a.Scorta FROM articoli a WHERE a.ID = idarticolo), 0);
  SET giacenza = IFNULL((SELECT a.giacenza FROM articoli a WHERE a.ID = idarticolo), 0);
  SET scorta = IFNULL((SELECT a.Scorta FROM articoli a WHERE a.ID = idarticolo), 0);
END$$

-- Quantity to order for an item: up to its minimum, in whole pieces, never negative.
DROP FUNCTION IF EXISTS QTA_DA_ORDINARE$$
CREATE FUNCTION QTA_DA_ORDINARE(giacenza DOUBLE, scorta DOUBLE) RETURNS INT DETERMINISTIC
BEGIN
  RETURN GREATEST(0, CEILING(IFNULL(scorta, 0) - IFNULL(giacenza, 0)));
END$$

-- Writes the item's under-stock row afresh (one row per item) and returns what it holds.
-- Texts are cut to the row's widths: a long item description must not stop the list.
DROP PROCEDURE IF EXISTS SOTTOSCORTA$$
CREATE PROCEDURE SOTTOSCORTA(idarticolo INT, OUT giacenza DOUBLE, OUT scorta DOUBLE,
                             OUT descrizione VARCHAR(255), OUT barcode VARCHAR(255),
                             OUT codart VARCHAR(255), OUT fornitore VARCHAR(255), OUT prezzo DOUBLE,
                             OUT UM VARCHAR(255), OUT aliquota INT)
BEGIN
  DELETE FROM sottoscorta WHERE sottoscorta.idarticolo = idarticolo;
  IF EXISTS (SELECT 1 FROM articoli a WHERE a.ID = idarticolo) THEN
    SELECT IFNULL(a.giacenza, 0), IFNULL(a.Scorta, 0), a.Descrizione, a.BarcodeFull, a.CodArticolo,
           a.Fornitore, a.PrezzoAcquisto, a.UM, a.Aliquota
      INTO giacenza, scorta, descrizione, barcode, codart, fornitore, prezzo, UM, aliquota
      FROM articoli a WHERE a.ID = idarticolo;
    INSERT INTO sottoscorta (codart, descrizione, barcode, idarticolo, data, qtaordine, idfornitore,
                             fornitore, giacenza, scorta, prezzoacquisto, um, aliquota)
    VALUES (LEFT(codart, 50), LEFT(descrizione, 50), LEFT(barcode, 50), idarticolo, CURRENT_DATE,
            QTA_DA_ORDINARE(giacenza, scorta),
            IFNULL((SELECT f.id_fornitore FROM fornitori f WHERE f.RagSoc = fornitore
                     ORDER BY f.id_fornitore LIMIT 1), 0),
            LEFT(fornitore, 50), giacenza, scorta, prezzo, LEFT(UM, 10), aliquota);
  END IF;
END$$

-- Brings the item's existing under-stock row up to date with the item, or removes it when the
-- item is no longer under its minimum. An item that has no row gets none here.
DROP PROCEDURE IF EXISTS UPDATE_SCORTA$$
CREATE PROCEDURE UPDATE_SCORTA(IDARTICOLO INT)
BEGIN
  IF EXISTS (SELECT 1 FROM articoli a WHERE a.ID = IDARTICOLO AND a.giacenza <= a.Scorta) THEN
    UPDATE sottoscorta s JOIN articoli a ON a.ID = s.idarticolo
       SET s.codart = LEFT(a.CodArticolo, 50),
           s.descrizione = LEFT(a.Descrizione, 50),
           s.barcode = LEFT(a.BarcodeFull, 50),
           s.giacenza = a.giacenza,
           s.scorta = a.Scorta,
           s.qtaordine = QTA_DA_ORDINARE(a.giacenza, a.Scorta),
           s.idfornitore = IFNULL((SELECT f.id_fornitore FROM fornitori f
                                    WHERE f.RagSoc = a.Fornitore
                                    ORDER BY f.id_fornitore LIMIT 1), 0),
           s.fornitore = LEFT(a.Fornitore, 50),
           s.prezzoacquisto = a.PrezzoAcquisto,
           s.um = LEFT(a.UM, 10),
           s.aliquota = a.Aliquota
     WHERE s.idarticolo = IDARTICOLO;
  ELSE
    DELETE FROM sottoscorta WHERE sottoscorta.idarticolo = IDARTICOLO;
  END IF;
END$$

-- ---------------------------------------------------------------------------------------------
-- Serial numbers
-- ---------------------------------------------------------------------------------------------

-- A serial sold in a document leaves `seriali` and lives on as a link to that document. Only a
-- serial that is in stock and sellable can be sold: otherwise nothing is written, so one serial
-- is never linked to two sales.
DROP PROCEDURE IF EXISTS SCARICO_SERIALE$$
CREATE PROCEDURE SCARICO_SERIALE(TIPOSCARICO VARCHAR(20), IDDOC INT, SERIALE VARCHAR(255),
                                 IDCARICO INT, CODART VARCHAR(255), BARCODE VARCHAR(255),
                                 DESCRIZIONE VARCHAR(255), IDFORNITORE INT, IDCLIENTE INT, DATA DATE,
                                 IDARTICOLO INT, IDMAGAZZINO INT, MAGAZZINO VARCHAR(120),
                                 IDOPERATORE INT, OPERATORE VARCHAR(120))
BEGIN
  IF NOT EXISTS (SELECT 1 FROM seriali s
                  WHERE s.idArticolo = IDARTICOLO AND s.Seriale = SERIALE
                    AND s.idCarico <=> IDCARICO AND IFNULL(s.Disponibile, 1) <> 0) THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Attenzione! Seriale non disponibile';
  END IF;
  INSERT INTO serialidocumenti (Documento, idDocumento, Seriale, idArticolo, idCarico, codarticolo,
                                descrizione, barcode, idFornitore, idCliente, DataScarico,
                                idMagazzino, Magazzino, idOperatore, Operatore)
  VALUES (TIPOSCARICO, IDDOC, SERIALE, IDARTICOLO, IDCARICO, CODART, DESCRIZIONE, BARCODE,
          IDFORNITORE, IDCLIENTE, DATA, IDMAGAZZINO, MAGAZZINO, IDOPERATORE, OPERATORE);
  DELETE FROM seriali
   WHERE seriali.idArticolo = IDARTICOLO AND seriali.Seriale = SERIALE
     AND seriali.idCarico <=> IDCARICO;
END$$

-- The item's serial links of one document go (its document row was removed).
DROP PROCEDURE IF EXISTS DELETE_SERIALIDOC$$
CREATE PROCEDURE DELETE_SERIALIDOC(IDARTICOLO INT, IDDOC INT, TIPODOC VARCHAR(20))
BEGIN
  DELETE FROM serialidocumenti
   WHERE serialidocumenti.idArticolo = IDARTICOLO
     AND serialidocumenti.idDocumento = IDDOC
     AND serialidocumenti.Documento = TIPODOC;
END$$

-- A delivery note billed by an invoice hands its serial links over to the invoice.
DROP PROCEDURE IF EXISTS UPDATESERIALIDOC$$
CREATE PROCEDURE UPDATESERIALIDOC(iddocumento INT, idfatt INT)
BEGIN
  UPDATE serialidocumenti
     SET serialidocumenti.Documento = 'Fattura',
         serialidocumenti.idDocumento = idfatt
   WHERE serialidocumenti.Documento = 'Ddt'
     AND serialidocumenti.idDocumento = iddocumento;
END$$

-- ---------------------------------------------------------------------------------------------
-- Label queue
-- ---------------------------------------------------------------------------------------------

-- One queue row for quantita labels of an item. The printed texts are cut to the queue's widths
-- (a load row's description may be far longer than a label holds); codes are kept whole.
DROP PROCEDURE IF EXISTS CREA_ETICHETTE$$
CREATE PROCEDURE CREA_ETICHETTE(descrizione VARCHAR(1000), barcode VARCHAR(50), prezzo DOUBLE,
                                codice VARCHAR(50), barcodetc VARCHAR(50), linea VARCHAR(255),
                                stagione VARCHAR(255), testoplus VARCHAR(255), quantita DOUBLE,
                                idarticolo INT, idcarico INT)
BEGIN
  INSERT INTO etichette (descrizione, codice, barcode, barcodetc, linea, stagione, testoplus,
                         quantita, idcarico, idarticolo, listino2, listino3, prezzo)
  VALUES (LEFT(descrizione, 120), codice, barcode, barcodetc, LEFT(linea, 20), LEFT(stagione, 20),
          LEFT(testoplus, 50), quantita, idcarico, idarticolo,
          (SELECT a.Listino2 FROM articoli a WHERE a.ID = idarticolo),
          (SELECT a.Listino3 FROM articoli a WHERE a.ID = idarticolo),
          prezzo);
END$$

DROP PROCEDURE IF EXISTS SVUOTA_ETICHETTE$$
CREATE PROCEDURE SVUOTA_ETICHETTE()
BEGIN
  DELETE FROM etichette;
END$$

-- ---------------------------------------------------------------------------------------------
-- Counters
-- ---------------------------------------------------------------------------------------------

-- Repair tickets are numbered across all years.
DROP PROCEDURE IF EXISTS INCREMENTA_CAT$$
CREATE PROCEDURE INCREMENTA_CAT(OUT NUMERO INT)
BEGIN
  SELECT IFNULL(MAX(r.numero), 0) + 1 INTO NUMERO FROM riparazioni r;
  UPDATE contatori c SET c.CountAssistenze = NUMERO;
END$$

DROP PROCEDURE IF EXISTS INCREMENTAFATTURA$$
CREATE PROCEDURE INCREMENTAFATTURA()
BEGIN
  UPDATE contatori c SET c.CountFatture = IFNULL(c.CountFatture, 0) + 1;
END$$

-- ---------------------------------------------------------------------------------------------
-- Repair estimate
-- ---------------------------------------------------------------------------------------------

DROP PROCEDURE IF EXISTS PREV_CAT_INSERT$$
CREATE PROCEDURE PREV_CAT_INSERT(idarticolo INT, codice VARCHAR(50), descrizione VARCHAR(1000),
                                 quantita DOUBLE, prezzovendita DOUBLE, idassistenza INT,
                                 prezzoacquisto DOUBLE, numeroass INT, subtotale DOUBLE)
BEGIN
  INSERT INTO articolipreventivocat (Codice, Descrizione, Quantita, PrezzoVendita, idAssistenza,
                                     PrezzoAcquisto, NumeroAss, idarticolo, SUBTOTALE)
  VALUES (codice, LEFT(descrizione, 50), quantita, prezzovendita, idassistenza, prezzoacquisto,
          numeroass, idarticolo, subtotale);
END$$

-- ---------------------------------------------------------------------------------------------
-- Warehouse names
-- ---------------------------------------------------------------------------------------------

-- The stock-state rows of a warehouse carry its current name. Documents keep the name they were
-- written with.
DROP PROCEDURE IF EXISTS UPDATE_MAG$$
CREATE PROCEDURE UPDATE_MAG(MAGAZZINO VARCHAR(120), IDMAGAZZINO INT)
BEGIN
  UPDATE giacenze g SET g.magazzino = MAGAZZINO WHERE g.idmagazzino = IDMAGAZZINO;
  UPDATE disptc d SET d.Magazzino = MAGAZZINO WHERE d.idmagazzino = IDMAGAZZINO;
  UPDATE seriali s SET s.Magazzino = MAGAZZINO WHERE s.idMagazzino = IDMAGAZZINO;
END$$

-- A renamed warehouse: the stock-state rows and the operators who work in it follow the new name.
DROP PROCEDURE IF EXISTS UPDATE_MAG_CHANGE$$
CREATE PROCEDURE UPDATE_MAG_CHANGE(MAGAZZINONEW VARCHAR(120), MAGAZZINOOLD VARCHAR(120))
BEGIN
  UPDATE giacenze g SET g.magazzino = MAGAZZINONEW WHERE g.magazzino = MAGAZZINOOLD;
  UPDATE disptc d SET d.Magazzino = MAGAZZINONEW WHERE d.Magazzino = MAGAZZINOOLD;
  UPDATE seriali s SET s.Magazzino = MAGAZZINONEW WHERE s.Magazzino = MAGAZZINOOLD;
  UPDATE utenti u SET u.magazzino = MAGAZZINONEW WHERE u.magazzino = MAGAZZINOOLD;
END$$

-- ---------------------------------------------------------------------------------------------
-- Start of year
-- ---------------------------------------------------------------------------------------------

-- Empties the sale and purchase documents, all or nothing. DELETE rather than TRUNCATE keeps the
-- identifier counters, so the ids that serial links still hold are never given to new documents.
-- Stock, items, registries, serial links, the cash book, repair tickets and the histories that
-- the stock rebuild sums (sales `venduti`, purchases `acquisti`, returns `resi`/`dettreso`) stay:
-- emptying one of those alone would turn every rebuilt stock figure wrong.
-- What is still open carries over into the new year: unpaid deadlines, customer accounts not yet
-- settled (with the counter sales they will be closed from and their place in a grouped
-- document), and supplier orders whose goods have not been received, with their rows.
DROP PROCEDURE IF EXISTS INIZIOANNO$$
CREATE PROCEDURE INIZIOANNO()
BEGIN
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    ROLLBACK;
    RESIGNAL;
  END;
  START TRANSACTION;
  DELETE FROM fatture;
  DELETE FROM dettfattura;
  DELETE FROM ddt;
  DELETE FROM dettddt;
  DELETE FROM notecredito;
  DELETE FROM dettnotecredito;
  DELETE FROM preventivi;
  DELETE FROM dettpreventivo;
  DELETE FROM ordiniclienti;
  DELETE FROM dettordineciente;
  DELETE FROM attesaordine;
  DELETE FROM ordinifornitori WHERE IFNULL(Evaso, '') = 'Si' OR IFNULL(CaricoMerceCreato, 0) <> 0;
  DELETE FROM dettordinefornitore
    WHERE NOT EXISTS (SELECT 1 FROM ordinifornitori o WHERE o.idOrdine = dettordinefornitore.idOrdineFornitore);
  DELETE FROM ordineforntc
    WHERE NOT EXISTS (SELECT 1 FROM ordinifornitori o WHERE o.idOrdine = ordineforntc.idordine);
  DELETE FROM sospesi WHERE IFNULL(Saldato, 0) <> 0;
  DELETE FROM elencosospesi
    WHERE NOT EXISTS (SELECT 1 FROM sospesi s WHERE s.id = elencosospesi.idsospeso);
  DELETE FROM banco
    WHERE NOT EXISTS (SELECT 1 FROM sospesi s WHERE s.idBanco = banco.id);
  DELETE FROM dettbanco
    WHERE NOT EXISTS (SELECT 1 FROM banco b WHERE b.id = dettbanco.idBanco);
  DELETE FROM scontrini;
  DELETE FROM articolidocumento;
  DELETE FROM carichi;
  DELETE FROM dettcarico;
  DELETE FROM caricotcdoc;
  DELETE FROM scadenzario WHERE IFNULL(Evaso, 0) <> 0;
  COMMIT;
END$$

-- ---------------------------------------------------------------------------------------------
-- Schema helpers
-- ---------------------------------------------------------------------------------------------

-- Adds a column unless the table already has one of that name (names compared ignoring case).
-- The names are quoted as identifiers; the type comes from the program's own upgrade list.
DROP PROCEDURE IF EXISTS AddColumnUnlessExists$$
CREATE PROCEDURE AddColumnUnlessExists(dbname VARCHAR(64), tablename VARCHAR(64),
                                       fieldname VARCHAR(64), fielddef VARCHAR(255))
BEGIN
  IF NOT EXISTS (SELECT 1 FROM information_schema.COLUMNS c
                  WHERE LOWER(c.TABLE_SCHEMA) = LOWER(dbname)
                    AND LOWER(c.TABLE_NAME) = LOWER(tablename)
                    AND LOWER(c.COLUMN_NAME) = LOWER(fieldname)) THEN
    SET @carvendo_ddl = CONCAT('ALTER TABLE `', REPLACE(dbname, '`', '``'), '`.`',
                               REPLACE(tablename, '`', '``'), '` ADD COLUMN `',
                               REPLACE(fieldname, '`', '``'), '` ', fielddef);
    PREPARE carvendo_add_column FROM @carvendo_ddl;
    EXECUTE carvendo_add_column;
    DEALLOCATE PREPARE carvendo_add_column;
    SET @carvendo_ddl = NULL;
  END IF;
END$$

-- ---------------------------------------------------------------------------------------------
-- Items
-- ---------------------------------------------------------------------------------------------

-- A copy of an item's row under a new ID (the caller reads it with LAST_INSERT_ID()).
DROP PROCEDURE IF EXISTS DUPLICA_ARTICOLO$$
CREATE PROCEDURE DUPLICA_ARTICOLO(IDARTICOLO INT)
BEGIN
  INSERT INTO articoli (
    `CodArticolo`, `Barcode`, `Descrizione`, `TestoEsteso`, `Categoria`, `SubCategoria`, `UM`,
    `Fornitore`, `CodFornitore`, `Tipologia`, `Linea`, `ClasseMerc`, `TC`, `Stagione`,
    `PrezzoAcquisto`, `Ricarico%`, `Ricarico`, `Utile%`, `Utile`, `Aliquota`, `AliquotaDesc`,
    `Immagine`, `Promozione`, `Sconto`, `PrezzoVendita`, `Carico`, `Marchio`, `Anno`,
    `PrezzoAcqnoiva`, `PrezzoVendnoiva`, `Pubblico`, `Seriale`, `BarcodeFull`, `BarcodeInt`,
    `Listino1`, `Listino2`, `Listino3`, `perc1`, `perc2`, `perc3`, `scontoacq1`, `scontoacq2`,
    `scontoacq3`, `acquistoscontato`, `tipofile`, `LastAcquisto`, `IdPromozione`,
    `PrezzoVendnoiva2`, `PrezzoVendnoiva3`, `NameBt`, `ETICHETTE`, `RICARICO1`, `RICARICO2`,
    `RICARICO3`, `NOTE`, `codartforn`, `DataCreazione`, `idreparto`, `reparto`, `repartodesc`,
    `UMVENDITA`, `Porzioni`, `PorzValore`, `giacenza`, `Disponibilita`, `sottosc`, `Ordinato`,
    `Scorta`, `misura`, `idgruppoTaglia`, `GruppoTaglia`, `genere`, `editore`, `autore`,
    `collana`, `isbn`, `codiceproduttore`, `pubblicazione`, `attivo`, `descrestesa`, `pubblicato`,
    `obsoleto`, `esente_iva`, `punti`, `vincolo`, `promo_importo`, `vodafone_pack`, `selezione`)
  SELECT
    a.`CodArticolo`, a.`Barcode`, a.`Descrizione`, a.`TestoEsteso`, a.`Categoria`, a.`SubCategoria`,
    a.`UM`, a.`Fornitore`, a.`CodFornitore`, a.`Tipologia`, a.`Linea`, a.`ClasseMerc`, a.`TC`,
    a.`Stagione`, a.`PrezzoAcquisto`, a.`Ricarico%`, a.`Ricarico`, a.`Utile%`, a.`Utile`,
    a.`Aliquota`, a.`AliquotaDesc`, a.`Immagine`, a.`Promozione`, a.`Sconto`, a.`PrezzoVendita`,
    a.`Carico`, a.`Marchio`, a.`Anno`, a.`PrezzoAcqnoiva`, a.`PrezzoVendnoiva`, a.`Pubblico`,
    a.`Seriale`, a.`BarcodeFull`, a.`BarcodeInt`, a.`Listino1`, a.`Listino2`, a.`Listino3`,
    a.`perc1`, a.`perc2`, a.`perc3`, a.`scontoacq1`, a.`scontoacq2`, a.`scontoacq3`,
    a.`acquistoscontato`, a.`tipofile`, a.`LastAcquisto`, a.`IdPromozione`, a.`PrezzoVendnoiva2`,
    a.`PrezzoVendnoiva3`, a.`NameBt`, a.`ETICHETTE`, a.`RICARICO1`, a.`RICARICO2`, a.`RICARICO3`,
    a.`NOTE`, a.`codartforn`, a.`DataCreazione`, a.`idreparto`, a.`reparto`, a.`repartodesc`,
    a.`UMVENDITA`, a.`Porzioni`, a.`PorzValore`, a.`giacenza`, a.`Disponibilita`, a.`sottosc`,
    a.`Ordinato`, a.`Scorta`, a.`misura`, a.`idgruppoTaglia`, a.`GruppoTaglia`, a.`genere`,
    a.`editore`, a.`autore`, a.`collana`, a.`isbn`, a.`codiceproduttore`, a.`pubblicazione`,
    a.`attivo`, a.`descrestesa`, a.`pubblicato`, a.`obsoleto`, a.`esente_iva`, a.`punti`,
    a.`vincolo`, a.`promo_importo`, a.`vodafone_pack`, a.`selezione`
  FROM articoli a
  WHERE a.ID = IDARTICOLO;
END$$

DELIMITER ;
