// The history: the jobs of the registry, newest first, a search for a
// label, and one job with its labels, record, spreadsheet and reprint. Jobs
// in question (handed to a printer, never confirmed) are asked about at the
// top of the page until somebody answers.

import { ApiError, documentOf, get, json } from './api.js';
import { byId, clear, el, offerFile, row, wholeNumber } from './dom.js';
import { onLanguageChange, tr } from './i18n.js';
import { sendJob, showAfterJob } from './printing.js';
import { Pdf } from './sheet.js';

const PageSize = 100;

function shownTime(iso) {
  return (iso || '').replace('T', ' ').slice(0, 16);
}

function labelText(label) {
  return [label.upper, label.lower].filter((text) => text !== '').join(' ');
}

export class HistoryView {
  constructor(sheetCard, onUseDesign) {
    this.sheetCard = sheetCard;
    this.onUseDesign = onUseDesign;
    this.limit = PageSize;
    this.jobs = [];
    this.found = null;
    this.job = null;
    this.listen();
    onLanguageChange(() => {
      this.showJobs();
      if (this.job) this.showJob(this.job);
    });
  }

  listen() {
    byId('findForm').addEventListener('submit', (event) => {
      event.preventDefault();
      this.find();
    });
    byId('allJobsButton').addEventListener('click', () => {
      byId('findLabel').value = '';
      this.found = null;
      this.load();
    });
    byId('moreJobs').addEventListener('click', () => {
      this.limit += PageSize;
      this.load();
    });
    byId('recordButton').addEventListener('click', () => this.document('record.pdf'));
    byId('spreadsheetButton').addEventListener('click', () => this.document('labels.xls'));
    byId('useDesignButton').addEventListener('click', () => this.onUseDesign(this.job.design));
    byId('reprintButton').addEventListener('click', () => this.openReprint());
    byId('reprintSubmit').addEventListener('click', () => this.reprint());
    byId('reprintPrinter').addEventListener('change', () => this.reprintPrinterChosen());
    for (const id of ['reprintFirst', 'reprintLast']) {
      byId(id).addEventListener('input', () => { byId('reprintRange').checked = true; });
    }
    byId('reprintLabels').addEventListener('change', () => { byId('reprintPicked').checked = true; });
  }

  async load() {
    byId('historyNote').textContent = '';
    try {
      const answer = await get(`/api/v1/jobs?limit=${this.limit}`);
      this.jobs = answer.jobs || [];
      byId('moreJobs').hidden = !answer.more;
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('historyNote').textContent = tr('履歴を読めません: %1', error.message);
      return;
    }
    this.showJobs();
  }

  async find() {
    const label = byId('findLabel').value.trim();
    if (!label) return this.load();
    try {
      this.found = { label, jobs: (await get(`/api/v1/find?label=${encodeURIComponent(label)}`)).jobs || [] };
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('historyNote').textContent = tr('探せません: %1', error.message);
      return;
    }
    byId('moreJobs').hidden = true;
    this.showJobs();
  }

  showJobs() {
    const jobs = this.found ? this.found.jobs : this.jobs;
    const body = byId('jobTable').tBodies[0];
    body.replaceChildren(...jobs.map((job) => this.jobRow(job)));
    let note = tr('%1 件のジョブ', jobs.length);
    if (this.found && jobs.length === 0) note = tr('「%1」は見つかりません', this.found.label);
    else if (this.found) note = tr('「%1」を印刷したジョブ: %2 件', this.found.label, jobs.length);
    byId('historyNote').textContent = note;
  }

  jobRow(job) {
    const open = el('button', { type: 'button', className: 'link', 'aria-label': tr('ジョブ %1', job.id) }, job.id);
    open.addEventListener('click', () => this.open(job.id));
    const kind = job.kind === 'reprint' ? tr('再印刷（%1）', job.reprintOf) : tr('ラベル');
    const state = job.state === 'reserved' ? tr('未確認') : tr('印刷済み');
    return row([open, shownTime(job.time), kind, state, job.type, job.first, job.last, job.labelCount,
      job.printer, job.station], { className: job.state === 'reserved' ? 'in-question' : '' });
  }

  async open(id) {
    byId('jobDetailProblem').textContent = '';
    try {
      this.job = await get(`/api/v1/jobs/${id}`);
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('jobDetailProblem').textContent = error.message;
      return;
    }
    this.showJob(this.job);
    byId('reprintDone').hidden = true;
    byId('jobDetail').hidden = false;
    byId('jobHeading').focus();
  }

  showJob(job) {
    byId('jobHeading').textContent = tr('ジョブ %1', job.id);
    byId('jobHeading').tabIndex = -1;
    const facts = [shownTime(job.time), tr('Type %1', job.type), `${job.first}～${job.last}`,
      tr('%1 枚', job.labelCount), job.printer, job.station].filter(Boolean);
    byId('jobFacts').textContent = facts.join(' ・ ');
    const documents = job.documents || {};
    byId('recordButton').hidden = !documents['record.pdf'];
    byId('spreadsheetButton').hidden = !documents['labels.xls'];
    byId('jobLabels').tBodies[0].replaceChildren(...(job.labels || []).map((label) =>
      row([label.sheet, label.position, label.sample, label.upper, label.lower])));
  }

  async document(name) {
    try {
      offerFile(await documentOf(this.job.documents[name]), `job-${this.job.id}-${name}`);
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('jobDetailProblem').textContent = error.message;
    }
  }

  openReprint() {
    const job = this.job;
    const samples = Math.max(1, ...(job.labels || []).map((label) => label.sample));
    byId('reprintHeading').textContent = tr('再印刷（%1）', tr('ジョブ %1', job.id));
    byId('reprintAllCaption').textContent = tr('すべてのラベル（%1 枚）', job.labelCount);
    byId('reprintAll').checked = true;
    for (const id of ['reprintFirst', 'reprintLast']) byId(id).max = String(samples);
    byId('reprintFirst').value = '1';
    byId('reprintLast').value = String(samples);
    const picks = (job.labels || []).map((label, i) => el('label', { className: 'check pick', for: `pick${i}` },
      el('input', { type: 'checkbox', id: `pick${i}`, value: labelText(label) }),
      el('span', {}, tr('%1: %2', label.position, labelText(label)))));
    byId('reprintLabels').replaceChildren(...picks);
    const printers = byId('reprintPrinter');
    printers.replaceChildren(...[...byId('printer').options].map((option) => option.cloneNode(true)));
    printers.value = byId('printer').value;
    this.reprintPrinterChosen();
    byId('reprintProblem').textContent = '';
    byId('reprintDialog').showModal();
  }

  // Where the chosen destination's next job starts, and on which sheet (a
  // reprint goes on it): a queue's station, or this token's PDFs.
  async reprintPrinterChosen() {
    const destination = byId('reprintPrinter').value;
    const printer = this.sheetCard.printers.find((p) => p.name === destination);
    let start = printer ? printer.startPosition || 1 : this.sheetCard.start;
    let sheet = printer && printer.sheet;
    if (destination === Pdf) {
      try {
        const next = await get('/api/v1/next?output=pdf');
        start = next.startPosition || start;
        sheet = next.sheet;
      } catch (error) {
        if (!(error instanceof ApiError)) throw error;
      }
    }
    if (byId('reprintPrinter').value !== destination) return;
    byId('reprintStart').value = String(start);
    byId('reprintStart').max = sheet ? String(sheet.positions) : '';
  }

  // The reprint's body: all labels, samples A-B, or the labels picked.
  reprintBody() {
    const body = {};
    const what = document.querySelector('input[name="reprintWhat"]:checked').value;
    if (what === 'samples') body.samples = `${wholeNumber(byId('reprintFirst'))}-${wholeNumber(byId('reprintLast'))}`;
    if (what === 'labels') {
      body.labels = [...new Set([...byId('reprintLabels').querySelectorAll('input:checked')].map((box) => box.value))];
    }
    const start = wholeNumber(byId('reprintStart'));
    if (start !== null) body.start = start;
    const destination = byId('reprintPrinter').value;
    if (destination === Pdf) body.output = 'pdf';
    else body.printer = destination;
    return body;
  }

  async reprint() {
    const submit = byId('reprintSubmit');
    submit.disabled = true;
    byId('reprintProblem').textContent = '';
    try {
      const job = await sendJob(`/api/v1/jobs/${this.job.id}/reprint`, this.reprintBody());
      if (job) {
        byId('reprintDialog').close();
        byId('jobDetailProblem').replaceChildren();
        showAfterJob(job, byId('reprintDone'));
        this.load();
      }
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('reprintProblem').textContent = error.message;
    } finally {
      submit.disabled = false;
    }
  }
}

// The jobs in question, from the service's status, each with its question
// and the two answers.
export function showQuestions(unresolved, onAnswered) {
  const box = byId('questions');
  clear(box);
  box.hidden = unresolved.length === 0;
  if (box.hidden) return;
  box.append(el('h2', {}, tr('印刷されましたか？')), el('p', { className: 'hint' }, tr('わかるまで、このラベルは印刷済みとして扱います。')));
  for (const job of unresolved) {
    const line = el('div', { className: 'question-line' }, el('p', {}, job.question));
    const problem = el('p', { className: 'problem', role: 'alert' });
    for (const [printed, caption] of [[true, tr('印刷された')], [false, tr('印刷されなかった')]]) {
      const button = el('button', { type: 'button', className: printed ? 'primary' : 'secondary' }, caption);
      button.setAttribute('aria-label', `${caption}: ${tr('ジョブ %1', job.id)}`);
      button.addEventListener('click', async () => {
        try {
          await json('POST', `/api/v1/jobs/${job.id}/resolve`, { printed });
          onAnswered();
        } catch (error) {
          if (!(error instanceof ApiError)) throw error;
          problem.textContent = error.message;
        }
      });
      line.append(button);
    }
    line.append(problem);
    box.append(line);
  }
}
