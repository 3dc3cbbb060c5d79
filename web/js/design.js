// The design card: the twelve types as discs, the chosen type's texts and
// numbering, and how the labels look. It holds the design as a design
// file's object and turns it into a job's body; the service checks every
// limit and names the field it refuses, which is shown beside that field.

import { byId, clear, el, wholeNumber } from './dom.js';
import { onLanguageChange, tr } from './i18n.js';
import {
  BackgroundColours, BackgroundValues, LabelTypes, Letters, Steps, TextColours, TextColourValues, TypeNumbers,
  dateStamp, defaultDesign, hasDate, hasFreeTexts, hasNumber, numberRange,
} from './types.js';

// Where the service's field names show their problems.
const ProblemOf = [
  [/^design\.upperTexts/, 'upperTextProblem'],
  [/^design\.type8Lines/, 'type8Problem'],
  [/^(design\.)?freeTexts/, 'freeTextsProblem'],
  [/^(first|design\.firstNumber)$/, 'firstNumberProblem'],
  [/^(samples|design\.sampleCount)$/, 'sampleCountProblem'],
  [/^design\.repeatCount$/, 'repeatCountProblem'],
  [/^design\.dateAdjust$/, 'dateAdjustProblem'],
  [/^(code|design\.code)$/, 'codeProblem'],
  [/^start$/, 'startPositionProblem'],
  [/^(printer|output)$/, 'printerProblem'],
  [/^sheet$/, 'sheetProblem'],
];
const Problems = [...new Set(ProblemOf.map(([, id]) => id)), 'jobProblem'];

export function problemIdOf(field) {
  const found = ProblemOf.find(([pattern]) => pattern.test(field || ''));
  return found ? found[1] : 'jobProblem';
}

export function clearProblems() {
  for (const id of Problems) byId(id).textContent = '';
}

// Shows the service's refusal beside the field it names.
export function showProblem(error) {
  const id = problemIdOf(error.field);
  byId(id).textContent = error.message;
}

function fillSelect(select, items, shown = (item) => item) {
  clear(select);
  for (const item of items) select.append(el('option', { value: item }, shown(item)));
}

// The lines of the free-text box: a line each, the first cell of a row
// pasted from a spreadsheet, without the empty lines at its end.
export function freeTextLines(text) {
  const lines = text.split(/\r\n|\r|\n/).map((line) => line.split('\t')[0]);
  while (lines.length && lines[lines.length - 1].trim() === '') lines.pop();
  return lines;
}

export class DesignCard {
  constructor(onChange) {
    this.design = defaultDesign();
    this.onChange = onChange;
    this.buildTypeDiscs();
    fillSelect(byId('letter1'), Letters);
    fillSelect(byId('letter2'), Letters);
    fillSelect(byId('step'), Steps);
    fillSelect(byId('textColour'), TextColours);
    fillSelect(byId('backgroundColour'), BackgroundColours);
    this.listen();
    this.show();
    onLanguageChange(() => this.showTexts());
  }

  buildTypeDiscs() {
    const box = byId('typeDiscs');
    for (const type of TypeNumbers) {
      const nameId = `type${type}Name`;
      box.append(
        el('label', { className: 'type-disc', for: `type${type}` },
          el('input', { type: 'radio', name: 'type', id: `type${type}`, value: type, 'aria-labelledby': nameId }),
          el('span', { className: 'disc', 'aria-hidden': 'true' },
            el('span', { className: 'disc-upper' }), el('span', { className: 'disc-lower' })),
          el('span', { className: 'type-name', id: nameId })));
    }
  }

  listen() {
    const changed = () => this.onChange();
    byId('typeDiscs').addEventListener('change', (event) => {
      this.design.type = Number(event.target.value);
      this.keepWithinType();
      this.show();
      changed();
    });
    const take = (id, apply) => byId(id).addEventListener('input', (event) => {
      apply(event.target);
      this.showSample();
      changed();
    });
    take('upperText', (input) => { this.design.upperTexts[this.traits().upperKey] = input.value; });
    take('type8Upper', () => { this.design.type8Lines = this.type8Lines(); });
    take('type8Lower', () => { this.design.type8Lines = this.type8Lines(); });
    take('letter1', (select) => this.setLetter(0, select.value));
    take('letter2', (select) => this.setLetter(1, select.value));
    take('firstNumber', () => {});
    take('sampleCount', (input) => { this.design.sampleCount = wholeNumber(input) ?? this.design.sampleCount; });
    take('repeatCount', (select) => { this.design.repeatCount = Number(select.value); });
    take('step', (select) => { this.design.step = Number(select.value); });
    take('dateAdjust', (input) => { this.design.dateAdjust = wholeNumber(input) ?? 0; this.showDate(); });
    take('freeTexts', () => this.showFreeTextCount());
    take('textColour', (select) => { this.design.appearance.textColor = select.value; });
    take('backgroundColour', (select) => {
      this.design.appearance.background = select.value;
      byId('customColourField').hidden = select.value !== 'Custom';
    });
    take('customColour', (input) => { this.design.appearance.customColor = input.value; });
    for (const id of ['paddedNumbers', 'plainNumbers']) {
      take(id, () => { this.design.plainNumbers = byId('plainNumbers').checked; });
    }
    take('rainbow', (box) => { this.design.appearance.rainbow = box.checked; });
    take('frame', (box) => { this.design.appearance.frame = box.checked; });
    take('code', (box) => { this.design.code = box.checked ? 'datamatrix' : 'none'; });
    byId('freeTexts').addEventListener('paste', () => setTimeout(() => this.showFreeTextCount()));
  }

  traits() {
    return LabelTypes[this.design.type];
  }

  setLetter(index, letter) {
    const key = this.traits().letters[index];
    if (!key) return;
    const [name, at] = key.split('.');
    if (at === undefined) this.design.letters[name] = letter;
    else this.design.letters[name][Number(at)] = letter;
  }

  letterOf(key) {
    const [name, at] = key.split('.');
    return at === undefined ? this.design.letters[name] : this.design.letters[name][Number(at)];
  }

  type8Lines() {
    return [byId('type8Upper').value, byId('type8Lower').value];
  }

  // A first number beyond a smaller type's range wraps into it, as the
  // window's list does; a blank type 8's seven rainbow groups shrink to five.
  keepWithinType() {
    const range = numberRange(this.design.type);
    this.design.firstNumber %= range;
    const first = wholeNumber(byId('firstNumber'));
    if (first !== null && first >= range) byId('firstNumber').value = String(first % range);
    if (this.design.repeatCount > this.maxRepeats()) this.design.repeatCount = 1;
  }

  maxRepeats() {
    const blankType8 = this.design.type === 8 && this.type8Lines().every((line) => line === '');
    return blankType8 ? 7 : 5;
  }

  // Puts a design (a past job's) into the card.
  load(design) {
    const base = defaultDesign();
    this.design = { ...base, ...design, letters: { ...base.letters, ...design.letters } };
    this.design.upperTexts = { ...base.upperTexts, ...design.upperTexts };
    this.design.appearance = { ...base.appearance, ...design.appearance };
    byId('firstNumber').value = hasNumber(this.design.type) ? String(this.design.firstNumber) : '';
    byId('freeTexts').value = (design.freeTexts || []).join('\n');
    byId('type8Upper').value = (design.type8Lines || [])[0] || '';
    byId('type8Lower').value = (design.type8Lines || [])[1] || '';
    this.show();
    this.onChange();
  }

  show() {
    const d = this.design;
    const t = this.traits();
    byId(`type${d.type}`).checked = true;
    const shown = {
      upper: t.upper === 'text', type8: t.upper === 'type8', letters: t.letters.length > 0,
      letter2: t.letters.length > 1, number: hasNumber(d.type), samples: !hasFreeTexts(d.type),
      repeats: true, date: hasDate(d.type), freeTexts: hasFreeTexts(d.type),
    };
    for (const field of document.querySelectorAll('.design-card [data-for]')) {
      field.hidden = !shown[field.dataset.for];
    }
    byId('upperText').value = t.upperKey ? d.upperTexts[t.upperKey] : '';
    t.letters.forEach((key, i) => { byId(`letter${i + 1}`).value = this.letterOf(key); });
    byId('firstNumber').max = String(numberRange(d.type) - 1);
    byId('sampleCount').value = String(d.sampleCount);
    fillSelect(byId('repeatCount'), Array.from({ length: this.maxRepeats() }, (_, i) => i + 1));
    byId('repeatCount').value = String(d.repeatCount);
    byId('step').value = String(d.step);
    byId(d.plainNumbers ? 'plainNumbers' : 'paddedNumbers').checked = true;
    byId('dateAdjust').value = String(d.dateAdjust);
    byId('textColour').value = d.appearance.textColor;
    byId('backgroundColour').value = d.appearance.background;
    byId('customColourField').hidden = d.appearance.background !== 'Custom';
    byId('customColour').value = d.appearance.customColor;
    byId('rainbow').checked = d.appearance.rainbow;
    byId('frame').checked = d.appearance.frame;
    byId('code').checked = d.code === 'datamatrix';
    this.showTexts();
  }

  // Everything drawn with tr(): the type names, the discs, the counts.
  showTexts() {
    for (const type of TypeNumbers) byId(`type${type}Name`).textContent = tr('Type %1', type);
    byId('letter1Caption').textContent = this.traits().letters.length > 1 ? tr('英字 1') : tr('英字');
    this.showDate();
    this.showFreeTextCount();
  }

  showDate() {
    const upper = this.traits().upper;
    byId('dateAdjustShown').textContent = hasDate(this.design.type) ? dateStamp(upper, this.design.dateAdjust) : '';
    this.showSample();
  }

  showFreeTextCount() {
    const count = freeTextLines(byId('freeTexts').value).length;
    byId('freeTextCount').textContent = tr('%1 サンプル', count);
    this.showSample();
  }

  // The first label the service plans for the job: without a first number
  // of the user's, its numbering goes on where the registry says, and the
  // sample shows that number rather than the design's own.
  showPlanned(label, body) {
    this.planned = label && body.first === undefined && hasNumber(body.design.type)
      ? { type: body.design.type, lower: label.lower } : null;
    this.showSample();
  }

  // The two lines of a type's label as the design stands.
  linesOf(type) {
    const t = LabelTypes[type];
    const d = this.design;
    const first = wholeNumber(byId('firstNumber')) ?? d.firstNumber;
    const number = (digits) => (d.plainNumbers ? String(first % 10 ** digits) : String(first % 10 ** digits).padStart(digits, '0'));
    const letters = t.letters.map((key) => this.letterOf(key)).join('');
    const free = freeTextLines(byId('freeTexts').value)[0] || tr('文字→');
    let upper = '';
    if (t.upper === 'text') upper = d.upperTexts[t.upperKey];
    else if (t.upper === 'type8') upper = byId('type8Upper').value;
    else upper = dateStamp(t.upper, d.dateAdjust);
    let lower = `${letters}${number(t.digits)}`;
    const planned = this.planned && this.planned.type === type && wholeNumber(byId('firstNumber')) === null;
    if (planned) lower = this.planned.lower;
    else if (t.lower === 'type8') lower = byId('type8Lower').value;
    else if (t.lower === 'free') lower = `${letters}${free}`;
    return [upper, lower];
  }

  showSample() {
    for (const type of TypeNumbers) {
      const disc = byId(`type${type}`).nextElementSibling;
      const [upper, lower] = this.linesOf(type);
      disc.querySelector('.disc-upper').textContent = upper;
      disc.querySelector('.disc-lower').textContent = lower;
    }
    const sample = byId('sampleDisc');
    const [upper, lower] = this.linesOf(this.design.type);
    sample.querySelector('.sample-upper').textContent = upper;
    sample.querySelector('.sample-lower').textContent = lower;
    sample.querySelector('.sample-code').hidden = this.design.code !== 'datamatrix';
    const look = this.design.appearance;
    const background = look.background === 'Custom'
      ? look.customColor : BackgroundValues[BackgroundColours.indexOf(look.background)];
    sample.style.setProperty('--label-text', TextColourValues[TextColours.indexOf(look.textColor)] || '#050505');
    sample.style.setProperty('--label-background', look.rainbow ? '#ffff00' : background || '#ffffff');
    sample.classList.toggle('framed', look.frame);
  }

  // The job's body as the API reads it, for a printer or "pdf".
  jobBody(destination, start, sheet) {
    const design = structuredClone(this.design);
    const body = { design };
    const first = wholeNumber(byId('firstNumber'));
    if (hasNumber(design.type) && first !== null) {
      design.firstNumber = first;
      body.first = first;
    }
    if (!hasNumber(design.type) || design.firstNumber >= numberRange(design.type)) design.firstNumber = 1;
    design.type8Lines = this.type8Lines();
    if (hasFreeTexts(design.type)) {
      design.freeTexts = [];
      body.freeTexts = freeTextLines(byId('freeTexts').value);
    } else {
      design.freeTexts = [];
      body.samples = design.sampleCount;
    }
    if (start !== null) body.start = start;
    if (sheet) body.sheet = sheet;
    if (destination === 'pdf') body.output = 'pdf';
    else if (destination) body.printer = destination;
    return body;
  }
}
