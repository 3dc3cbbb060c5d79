// The sheet card's choices: the printer (or "PDF"), the label sheet and the
// start position, and the map of the sheet shown: positions used before the
// start, this job's, and free ones. A disc clicked, or the arrow keys on the
// map, or a number typed, chooses the start position.

import { ApiError, get } from './api.js';
import { byId, clear, el, wholeNumber } from './dom.js';
import { onLanguageChange, tr } from './i18n.js';

export const Pdf = 'pdf';
const BuiltInSheet = { id: '', columns: 10, rows: 15, positions: 150 };

export class SheetCard {
  constructor(onChange) {
    this.onChange = onChange;
    this.printers = [];
    this.sheets = [];
    this.layout = BuiltInSheet;
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
      this.layout = this.sheets.find((s) => s.id === byId('sheet').value) || BuiltInSheet;
      this.drawMap();
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

  // A printer's next job starts where its station says; a PDF where this
  // token's last PDF ended (the service's next call), else where it is now.
  async choosePrinter() {
    const destination = this.destination();
    let start = this.start;
    if (destination === Pdf) {
      try {
        start = (await get('/api/v1/next?output=pdf')).startPosition || start;
      } catch (error) {
        if (!(error instanceof ApiError)) throw error;
      }
    } else {
      const printer = this.printers.find((p) => p.name === destination);
      if (printer) start = printer.startPosition || 1;
      if (printer && printer.sheet && this.sheets.some((s) => s.id === printer.sheet)) {
        byId('sheet').value = printer.sheet;
        this.layout = this.sheets.find((s) => s.id === printer.sheet);
        this.drawMap();
      }
    }
    this.setStart(start);
  }

  // After a job to `destination`: its station's next start, shown on the
  // map (setStart refreshes the preview, whose numbering moved on too).
  jobDone(destination, nextStart) {
    const printer = this.printers.find((p) => p.name === destination);
    if (nextStart && printer) printer.startPosition = nextStart;
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

  drawMap() {
    const map = byId('sheetMap');
    clear(map);
    map.style.setProperty('--columns', this.layout.columns);
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
