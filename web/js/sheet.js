// The sheet card's choices: the printer (or "PDF"), the label sheet and the
// start position, and the map of the sheet shown: positions used before the
// start, this job's, and free ones. A disc clicked, or the arrow keys on the
// map, or a number typed, chooses the start position. Each printer keeps the
// sheet in it (a PDF the sheet this token last used); choosing another sheet
// sends it with the job, which makes it the printer's.

import { ApiError, get } from './api.js';
import { byId, clear, el, wholeNumber } from './dom.js';
import { onLanguageChange, tr } from './i18n.js';

export const Pdf = 'pdf';
const BuiltInSheet = { id: 'builtin', columns: 10, rows: 15, positions: 150 };
// The map's room: its discs shrink so that a tall sheet fits this height.
const MapHeightPx = 560;

export class SheetCard {
  constructor(onChange) {
    this.onChange = onChange;
    this.printers = [];
    this.sheets = [];
    this.layout = BuiltInSheet;
    this.stationSheet = BuiltInSheet; // the sheet in the chosen printer
    this.start = 1;
    this.labelTotal = 0;
    this.shownSheet = 1;
    this.listen();
    this.drawMap();
    onLanguageChange(() => {
      this.fillPrinters();
      this.fillSheets();
      this.showMarks();
    });
  }

  listen() {
    byId('printer').addEventListener('change', () => this.choosePrinter());
    byId('sheet').addEventListener('change', () => {
      this.useLayout(this.sheets.find((s) => s.id === byId('sheet').value) || this.stationSheet);
      this.setStart(Math.min(this.start, this.layout.positions));
    });
    byId('startPosition').addEventListener('change', () => {
      const typed = wholeNumber(byId('startPosition'));
      if (typed !== null && typed >= 1 && typed <= this.layout.positions) this.setStart(typed);
      else this.onChange(); // the service names what is wrong with it
    });
    byId('sheetMap').addEventListener('click', (event) => {
      const disc = event.target.closest('[data-position]');
      if (disc) this.setStart(Number(disc.dataset.position), true);
    });
    byId('sheetMap').addEventListener('keydown', (event) => this.stepStart(event));
    byId('previousSheet').addEventListener('click', () => this.showSheet(this.shownSheet - 1));
    byId('nextSheet').addEventListener('click', () => this.showSheet(this.shownSheet + 1));
  }

  // The printers and sheets the service has.
  async load() {
    this.printers = (await get('/api/v1/printers')).printers || [];
    this.sheets = (await get('/api/v1/sheets')).sheets || [];
    this.fillPrinters();
    this.fillSheets();
    const chosen = this.printers.find((p) => p.default && p.accepting) || this.printers.find((p) => p.accepting);
    byId('printer').value = chosen ? chosen.name : Pdf;
    await this.choosePrinter();
  }

  fillPrinters() {
    const select = byId('printer');
    const value = select.value;
    clear(select);
    for (const printer of this.printers) {
      const notes = [printer.default ? tr('既定') : '', printer.accepting ? '' : tr('受け付けていません')].filter(Boolean);
      const shown = notes.length ? tr('%1（%2）', printer.name, notes.join(tr('、'))) : printer.name;
      select.append(el('option', { value: printer.name }, shown));
    }
    select.append(el('option', { value: Pdf }, 'PDF'));
    if (value) select.value = value;
  }

  fillSheets() {
    const select = byId('sheet');
    const value = select.value;
    clear(select);
    select.append(el('option', { value: '' }, tr('プリンターのシート')));
    for (const sheet of this.sheets) {
      const shown = tr('%1（%2 × %3、%4 mm）', sheet.name, sheet.columns, sheet.rows, sheet.diameter);
      select.append(el('option', { value: sheet.id }, shown));
    }
    select.value = value || '';
  }

  destination() {
    return byId('printer').value || Pdf;
  }

  sheetChoice() {
    return byId('sheet').value || '';
  }

  // The start position typed or chosen; null where the field holds none.
  startChoice() {
    return wholeNumber(byId('startPosition'));
  }

  // A printer's next job starts where its station says, on the sheet in
  // it; a PDF where this token's last PDF ended, on its sheet (the
  // service's next call), else where it is now.
  async choosePrinter() {
    const destination = this.destination();
    let start = this.start;
    let sheet = null;
    if (destination === Pdf) {
      try {
        const next = await get('/api/v1/next?output=pdf');
        start = next.startPosition || start;
        sheet = next.sheet;
      } catch (error) {
        if (!(error instanceof ApiError)) throw error;
      }
    } else {
      const printer = this.printers.find((p) => p.name === destination);
      if (printer) start = printer.startPosition || 1;
      if (printer) sheet = printer.sheet;
    }
    if (destination !== this.destination()) return; // chosen again meanwhile
    this.showStationSheet(sheet || BuiltInSheet);
    this.setStart(start);
  }

  // The sheet in the chosen printer: chosen in the list where it is there
  // (a sheet whose file went is still the printer's, as "the printer's").
  showStationSheet(sheet) {
    this.stationSheet = sheet;
    const listed = this.sheets.some((s) => s.id === sheet.id);
    byId('sheet').value = listed ? sheet.id : '';
    this.useLayout(sheet);
  }

  useLayout(sheet) {
    const changed = sheet.columns !== this.layout.columns || sheet.positions !== this.layout.positions;
    this.layout = sheet;
    byId('startPosition').max = String(sheet.positions);
    if (changed) this.drawMap();
  }

  // The sheet the service plans the job on (the preview's answer): the map
  // follows it, should the printer's sheet have changed meanwhile.
  planned(sheet) {
    if (!sheet || this.sheetChoice()) return;
    this.stationSheet = sheet;
    this.useLayout(sheet);
  }

  // After a job to `destination`: its station's sheet and next start, shown
  // on the map (setStart refreshes the preview, whose numbering moved on too).
  jobDone(destination, nextStart, sheet) {
    const printer = this.printers.find((p) => p.name === destination);
    if (nextStart && printer) printer.startPosition = nextStart;
    if (sheet && printer) printer.sheet = sheet;
    if (sheet) this.showStationSheet(sheet);
    if (nextStart) this.setStart(nextStart);
    else this.onChange();
  }

  setStart(position, fromMap = false) {
    this.start = Math.max(1, Math.min(position, this.layout.positions));
    byId('startPosition').value = String(this.start);
    this.shownSheet = 1;
    this.showMarks();
    if (fromMap) this.discAt(this.start).focus();
    this.onChange();
  }

  stepStart(event) {
    const steps = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -this.layout.columns, ArrowDown: this.layout.columns };
    let position = null;
    if (event.key in steps) position = this.start + steps[event.key];
    else if (event.key === 'Home') position = 1;
    else if (event.key === 'End') position = this.layout.positions;
    if (position === null || position < 1 || position > this.layout.positions) return;
    event.preventDefault();
    this.setStart(position, true);
  }

  // Any grid up to 999 discs, scaled to its room: as wide as the card
  // lets it (the whole card's width for a grid larger than the built-in
  // sheet's), no taller than MapHeightPx.
  drawMap() {
    const map = byId('sheetMap');
    clear(map);
    const columns = Math.max(1, this.layout.columns);
    const rows = Math.ceil(this.layout.positions / columns);
    map.style.setProperty('--columns', columns);
    map.style.setProperty('--gap', `${Math.max(1, Math.round(30 / columns))}px`);
    map.style.maxWidth = `${Math.round((MapHeightPx * columns) / rows)}px`;
    map.closest('.sheet-layout').classList.toggle('large', columns > BuiltInSheet.columns || rows > BuiltInSheet.rows);
    for (let position = 1; position <= this.layout.positions; ++position) {
      map.append(el('button', { type: 'button', role: 'radio', className: 'spot', tabindex: -1, dataset: { position } }));
    }
    this.showMarks();
  }

  discAt(position) {
    return byId('sheetMap').children[position - 1];
  }

  // The job's labels, when the preview knows how many.
  setJob(labelTotal, sheetCount) {
    this.labelTotal = labelTotal;
    this.sheetCount = Math.max(1, sheetCount || 1);
    this.shownSheet = Math.min(this.shownSheet, this.sheetCount);
    this.showMarks();
  }

  showSheet(sheet) {
    if (sheet < 1 || sheet > (this.sheetCount || 1)) return;
    this.shownSheet = sheet;
    this.showMarks();
    this.onSheetShown?.(sheet);
  }

  markOf(position) {
    const running = (this.shownSheet - 1) * this.layout.positions + position;
    if (running < this.start) return 'used';
    return running < this.start + this.labelTotal ? 'job' : 'free';
  }

  showMarks() {
    const names = { used: tr('使用済み'), job: tr('このジョブ'), free: tr('空き') };
    for (const disc of byId('sheetMap').children) {
      const position = Number(disc.dataset.position);
      const mark = this.markOf(position);
      const isStart = this.shownSheet === 1 && position === this.start;
      disc.className = `spot ${mark}${isStart ? ' start' : ''}`;
      disc.setAttribute('aria-checked', String(isStart));
      disc.tabIndex = position === this.start ? 0 : -1;
      disc.setAttribute('aria-label', tr('位置 %1（%2）', position, names[mark]));
    }
    const count = this.sheetCount || 1;
    byId('sheetShown').textContent = tr('%1 / %2 枚目', this.shownSheet, count);
    byId('previousSheet').disabled = this.shownSheet <= 1;
    byId('nextSheet').disabled = this.shownSheet >= count;
  }
}
