// The page of rondelmaker-server: design a run, see it on the sheet, print
// it on one of the service's printers or as a PDF, and find and reprint past
// jobs. Everything goes through the service's public API.

import { ApiError, get, whenTokenNeeded } from './api.js';
import { DesignCard, clearProblems, showProblem } from './design.js';
import { byId, debounced } from './dom.js';
import { HistoryView, showQuestions } from './history.js';
import { chosenLanguage, language, onLanguageChange, setLanguage, tr } from './i18n.js';
import { PreviewCard } from './preview.js';
import { labelCountOf, sendJob, showAfterJob } from './printing.js';
import { Pdf, SheetCard } from './sheet.js';

const PreviewDelayMs = 300;

// The token prompt: asked once for all the calls that met a 401, and again,
// saying so, when the token typed was refused.
function askToken(wrong) {
  const dialog = byId('tokenDialog');
  byId('tokenMessage').textContent = wrong
    ? tr('トークンが違います。正しいトークンを入れてください。')
    : tr('このサービスを使うにはトークンが要ります。管理者から受け取ったトークンを入れてください。');
  byId('tokenMessage').className = wrong ? 'problem' : '';
  byId('tokenInput').value = '';
  if (!dialog.open) dialog.showModal();
  byId('tokenInput').focus();
  return new Promise((resolve) => {
    byId('tokenForm').addEventListener('submit', () => resolve(byId('tokenInput').value.trim()), { once: true });
  });
}

class Page {
  constructor() {
    this.sheet = new SheetCard(() => this.refresh());
    this.design = new DesignCard(() => this.refresh());
    this.preview = new PreviewCard();
    this.history = new HistoryView(this.sheet, (design) => {
      this.design.load(design);
      this.showView('labels');
    });
    this.sheet.onSheetShown = (sheet) => this.preview.showSheet(sheet);
    this.preview.onFirstLabel = (label, body) => this.design.showPlanned(label, body);
    this.refresh = debounced(() => this.updatePreview(), PreviewDelayMs);
    this.listen();
  }

  listen() {
    byId('labelsTab').addEventListener('click', () => this.showView('labels'));
    byId('historyTab').addEventListener('click', () => this.showView('history'));
    byId('languageButton').addEventListener('click', () => setLanguage(language() === 'ja' ? 'en' : 'ja', true));
    byId('printButton').addEventListener('click', () => this.print(this.sheet.destination()));
    byId('pdfButton').addEventListener('click', () => this.print(Pdf));
    // Without a token the page can do nothing: the prompt stays.
    byId('tokenDialog').addEventListener('cancel', (event) => event.preventDefault());
    onLanguageChange(() => {
      const other = language() === 'ja' ? 'English' : '日本語';
      byId('languageButton').textContent = other;
      byId('languageButton').lang = language() === 'ja' ? 'en' : 'ja';
      this.showStatus();
      this.refresh();
    });
  }

  showView(view) {
    const history = view === 'history';
    byId('labelsView').hidden = history;
    byId('historyView').hidden = !history;
    byId('labelsTab').setAttribute('aria-pressed', String(!history));
    byId('historyTab').setAttribute('aria-pressed', String(history));
    if (history) this.history.load();
  }

  async start() {
    whenTokenNeeded(askToken);
    await setLanguage(chosenLanguage());
    await this.loadStatus();
    byId('tokenDialog').close();
    await this.sheet.load();
    this.refresh();
  }

  async loadStatus() {
    try {
      this.status = await get('/api/v1/status');
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      this.status = { problem: error.message };
    }
    this.showStatus();
    showQuestions((this.status && this.status.unresolved) || [], () => {
      this.loadStatus();
      if (!byId('historyView').hidden) this.history.load();
    });
  }

  showStatus() {
    const status = this.status;
    if (!status) return;
    const line = byId('registryStatus');
    const reachable = status.registry && status.registry.reachable;
    line.textContent = reachable ? tr('ラベル台帳: %1', status.registry.location) : tr('ラベル台帳: 使えません');
    line.title = reachable ? '' : status.problem || (status.registry && status.registry.problem) || '';
    line.classList.toggle('bad', !reachable);
  }

  jobBody() {
    return this.design.jobBody(this.sheet.destination(), this.sheet.startChoice(), this.sheet.sheetChoice());
  }

  async updatePreview() {
    clearProblems();
    const body = this.jobBody();
    let answer;
    try {
      answer = await this.preview.update(body);
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      showProblem(error);
      this.preview.clearSheets(tr('直すと、プレビューが出ます。'));
      this.sheet.setJob(0, 1);
      byId('jobSummary').textContent = '';
      return;
    }
    if (!answer) return;
    this.sheet.planned(answer.sheet);
    this.sheet.setJob(answer.labels, answer.sheets);
    byId('jobSummary').textContent = tr('ラベル %1 枚・シート %2 枚', answer.labels, answer.sheets);
    this.preview.showSheet(this.sheet.shownSheet);
  }

  async print(destination) {
    const buttons = [byId('printButton'), byId('pdfButton')];
    clearProblems();
    byId('afterJob').hidden = true;
    buttons.forEach((button) => { button.disabled = true; });
    byId('jobSummary').textContent = tr('印刷中…');
    const body = this.design.jobBody(destination, this.sheet.startChoice(), this.sheet.sheetChoice());
    try {
      const job = await sendJob('/api/v1/jobs', body);
      if (job) this.afterJob(job, destination);
      else byId('jobSummary').textContent = '';
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      showProblem(error);
      byId('jobSummary').textContent = '';
    } finally {
      buttons.forEach((button) => { button.disabled = false; });
    }
  }

  // The next job goes on where this one ended: the numbering from the
  // registry, and on the sheet in hand the start after its last label.
  afterJob(job, destination) {
    showAfterJob(job);
    byId('jobSummary').textContent = destination === Pdf
      ? tr('ジョブ %1 の PDF を作りました（%2 枚）。', job.id, labelCountOf(job))
      : tr('ジョブ %1 を印刷しました（%2 枚）。', job.id, labelCountOf(job));
    byId('firstNumber').value = '';
    this.sheet.jobDone(destination, job.next && job.next.startPosition, job.sheet);
    this.loadStatus();
  }
}

new Page().start();
