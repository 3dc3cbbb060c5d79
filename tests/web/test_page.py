#!/usr/bin/python3
"""The service's page in Debian's Chromium, headless, against the real
rondelmaker-server on a loopback port and a registry that rondelmaker-cli
filled. Everything is done as a user does it: clicks and keys through
Selenium.

Run by CTest with RONDEL_SERVER and RONDEL_CLI naming the programs; exits
77 (skipped) where Chromium or Selenium is missing."""

import json
import os
import re
import shutil
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import unittest
import urllib.error
import urllib.request

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.common.exceptions import StaleElementReferenceException
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    webdriver = None

SERVER = os.environ.get('RONDEL_SERVER', '')
CLI = os.environ.get('RONDEL_CLI', '')
CHROMIUM = '/usr/bin/chromium'
DRIVER = '/usr/bin/chromedriver'
WAIT = 15  # seconds: every wait has its deadline

DESIGN = {
    'format': 'rondelmaker-design', 'version': 2, 'type': 1,
    'upperTexts': {'1': 'LAB', '2': '', '3': '', '9': '', '10': ''}, 'freeTexts': [], 'type8Lines': [],
    'letters': {'type2': 'A', 'type3': ['A', 'A'], 'type6': 'A', 'type7': 'A', 'type10': 'A'},
    'firstNumber': 1, 'sampleCount': 10, 'repeatCount': 1, 'step': 1, 'plainNumbers': False, 'dateAdjust': 0,
    'appearance': {'textColor': 'Black', 'background': 'White', 'customColor': '#000000', 'frame': False,
                   'rainbow': False, 'font': {'family': 'IPAPGothic', 'pointSize': 9, 'bold': True, 'italic': False}},
    'code': 'none',
}
INJECTED = ['<b>x</b>', '<img src=x onerror=alert(1)>']


def browser(language, profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync',
                     '--window-size=1440,1000', f'--lang={language}',
                     f'--user-data-dir={profile}'):
        options.add_argument(argument)
    options.add_experimental_option('prefs', {'intl.accept_languages': language})
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    driver.set_page_load_timeout(WAIT)
    driver.set_script_timeout(WAIT)
    return driver


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix='rondel-web-')
        cls.station = os.path.join(cls.dir, 'station')
        cls.state = os.path.join(cls.dir, 'srv')
        os.makedirs(cls.station)
        with open(os.path.join(cls.station, 'start.txt'), 'w') as start:
            start.write('10,10,1\r\n\r\n')
        # Job 1: LAB 0001..0010; job 2: type 9 with texts a web page must not run.
        cls.cli_print(dict(DESIGN), [])
        cls.cli_print(dict(DESIGN, type=9), ['--free-texts', cls.write('free.txt', '\n'.join(INJECTED) + '\n')])
        cls.token = subprocess.run([SERVER, 'token', 'add', 'web', '--state-dir', cls.state], check=True,
                                   capture_output=True, text=True, timeout=WAIT).stdout.strip()
        cls.server = subprocess.Popen(
            [SERVER, '--state-dir', cls.state, '--registry', os.path.join(cls.station, 'registry.sqlite'),
             '--listen', '127.0.0.1:0'], stderr=subprocess.PIPE, text=True)
        for line in cls.server.stderr:
            match = re.search(r'listening on http://[^ ]*:(\d+)', line)
            if match:
                cls.url = f'http://127.0.0.1:{match.group(1)}'
                break
        # The request log goes on: read, so that the service never waits on a full pipe.
        threading.Thread(target=cls.server.stderr.read, daemon=True).start()
        cls.driver = browser('en-US', os.path.join(cls.dir, 'chromium-en'))
        cls.japanese = None

    @classmethod
    def tearDownClass(cls):
        for driver in (cls.driver, cls.japanese):
            if driver:
                driver.quit()
        cls.server.kill()
        cls.server.wait(WAIT)
        shutil.rmtree(cls.dir, ignore_errors=True)

    @classmethod
    def write(cls, name, text):
        path = os.path.join(cls.dir, name)
        with open(path, 'w', encoding='utf-8') as file:
            file.write(text)
        return path

    @classmethod
    def cli_print(cls, design, options):
        design_file = cls.write('design.json', json.dumps(design))
        subprocess.run([CLI, 'print', design_file, '--state-dir', cls.station, '--pdf',
                        os.path.join(cls.dir, 'cli.pdf')] + options, check=True, capture_output=True, timeout=60)

    @classmethod
    def api(cls, method, path, body=None):
        request = urllib.request.Request(cls.url + path, method=method,
                                         data=None if body is None else json.dumps(body).encode(),
                                         headers={'Authorization': f'Bearer {cls.token}',
                                                  'Content-Type': 'application/json'})
        try:
            with urllib.request.urlopen(request, timeout=WAIT) as answer:
                data = answer.read()
                return answer.status, json.loads(data) if answer.headers.get_content_type() == 'application/json' else data
        except urllib.error.HTTPError as error:
            return error.code, json.loads(error.read() or b'{}')

    # ---- what a user does -------------------------------------------------

    def wait(self, condition, driver=None):
        return WebDriverWait(driver or self.driver, WAIT).until(lambda d: condition(d))

    def by_id(self, element_id, driver=None):
        return (driver or self.driver).find_element(By.ID, element_id)

    def open_page(self, driver=None, token=None):
        """Loads the page in a fresh tab session and gives the token it asks for."""
        driver = driver or self.driver
        driver.get(self.url + '/')
        driver.execute_script('sessionStorage.clear(); localStorage.clear();')
        driver.refresh()
        self.wait(lambda d: self.by_id('tokenDialog', d).get_attribute('open') is not None, driver)
        self.by_id('tokenInput', driver).send_keys((token or self.token) + Keys.ENTER)
        if token is None:
            self.wait(lambda d: self.by_id('registryStatus', d).text != '' and
                      self.by_id('printer', d).get_attribute('value'), driver)

    def open_job(self, driver=None, locator=None):
        """Clicks a job's number (the newest's unless `locator` names another); the table
        may be redrawn under the click, as answers come."""
        locator = locator or (By.CSS_SELECTOR, '#jobTable tbody button')

        def clicked(d):
            try:
                d.find_element(*locator).click()
                return True
            except StaleElementReferenceException:
                return False
        self.wait(clicked, driver)

    def show_history(self):
        self.by_id('historyTab').click()
        self.wait(lambda d: len(d.find_elements(By.CSS_SELECTOR, '#jobTable tbody tr')) > 0)

    def rows(self):
        # Read at once: the table is redrawn as answers come.
        return self.driver.execute_script(
            "return [...document.querySelectorAll('#jobTable tbody tr')]"
            ".map((row) => [...row.cells].map((cell) => cell.innerText));")

    # ---- the page's parts ------------------------------------------------

    def test_token_asked_once_and_a_wrong_one_named(self):
        self.open_page(token='rmk_wrong')
        self.wait(lambda d: 'wrong' in self.by_id('tokenMessage', d).text)
        self.assertIsNotNone(self.by_id('tokenDialog').get_attribute('open'))
        self.by_id('tokenInput').send_keys(self.token + Keys.ENTER)
        self.wait(lambda d: self.by_id('tokenDialog', d).get_attribute('open') is None)
        self.wait(lambda d: 'Label registry' in self.by_id('registryStatus', d).text)
        self.assertEqual(self.driver.execute_script('return sessionStorage.getItem("rondelmaker.token")'), self.token)
        self.assertNotIn(self.token, self.driver.current_url)
        self.assertEqual(self.driver.execute_script('return localStorage.length'), 0)

    def names_of_controls(self, driver):
        """The accessible names of the controls shown; fails on a control without a visible bound label."""
        unlabelled = driver.execute_script('''
            return [...document.querySelectorAll('input, select, textarea')]
              .filter((e) => e.offsetParent !== null && e.type !== 'radio' && e.type !== 'checkbox'
                      && e.labels.length === 0 && !e.getAttribute('aria-labelledby'))
              .map((e) => e.id);''')
        self.assertEqual(unlabelled, [])
        controls = driver.find_elements(By.CSS_SELECTOR, 'input, select, textarea, button, fieldset, [role=radiogroup]')
        names = [control.accessible_name for control in controls if control.is_displayed()
                 or control.get_attribute('type') in ('radio', 'checkbox')]
        return names

    def check_names(self, driver, names):
        shown = self.names_of_controls(driver)
        for name in names['labels']:
            self.assertIn(name, shown)
        self.assertEqual([name for name in shown if re.fullmatch(names['type'] % r'\d+', name)],
                         [names['type'] % n for n in range(1, 13)])
        driver.find_element(By.CSS_SELECTOR, 'label[for=type9]').click()
        self.assertIn(names['free'], self.names_of_controls(driver))
        driver.find_element(By.CSS_SELECTOR, 'label[for=type1]').click()
        self.by_id('historyTab', driver).click()
        self.wait(lambda d: d.find_elements(By.CSS_SELECTOR, '#jobTable tbody button'), driver)
        self.assertIn(names['find'], self.names_of_controls(driver))
        self.open_job(driver)
        self.wait(lambda d: self.by_id('jobDetail', d).is_displayed(), driver)
        self.assertIn(names['reprint'], self.names_of_controls(driver))
        self.by_id('labelsTab', driver).click()

    def test_english_and_japanese_names_and_keyboard(self):
        english = {'labels': ['Label type', 'Upper text', 'First number', 'Samples', 'Repeats', '2D code',
                              'Printer', 'Sheet', 'Start position', 'Print', 'PDF', 'History'],
                   'type': 'Type %s', 'free': 'Free texts', 'find': 'Find a label', 'reprint': 'Reprint'}
        self.open_page()
        self.check_names(self.driver, english)
        # No Japanese is left on the English page but the switch's own name.
        shown = self.driver.find_element(By.TAG_NAME, 'body').text.replace('日本語', '')
        self.assertIsNone(re.search(r'[\u3040-\u30ff\u4e00-\u9fff]', shown), shown)

        if PageTest.japanese is None:
            PageTest.japanese = browser('ja', os.path.join(self.dir, 'chromium-ja'))
        japanese = {'labels': ['ラベルの種類', '上の文字', '初期値', 'サンプル数', 'リピート数', '2D コード',
                               'プリンター', 'シート', '開始位置', 'Print', 'PDF', '履歴'],
                    'type': 'Type %s', 'free': 'サンプルの文字', 'find': 'ラベルを探す', 'reprint': '再印刷'}
        self.open_page(self.japanese)
        self.check_names(self.japanese, japanese)
        # The switch: English, and kept in this browser.
        self.by_id('languageButton', self.japanese).click()
        self.wait(lambda d: self.by_id('printButton', d).accessible_name == 'Print'
                  and self.by_id('startPosition', d).accessible_name == 'Start position', self.japanese)

        # The keyboard alone: the map steps the start, Tab reaches Print, Enter presses it.
        Select(self.by_id('printer')).select_by_value('pdf')
        self.wait(lambda d: self.by_id('jobSummary', d).text != '')
        self.by_id('startPosition').send_keys(Keys.TAB)
        self.driver.switch_to.active_element.send_keys(Keys.ARROW_RIGHT)
        self.wait(lambda d: self.by_id('startPosition', d).get_attribute('value') == '2')
        self.driver.execute_script('document.activeElement.blur(); window.scrollTo(0, 0);')
        body = self.driver.find_element(By.TAG_NAME, 'body')
        body.send_keys(Keys.TAB)
        for _ in range(60):
            if self.driver.switch_to.active_element.get_attribute('id') == 'printButton':
                break
            self.driver.switch_to.active_element.send_keys(Keys.TAB)
        self.assertEqual(self.driver.switch_to.active_element.get_attribute('id'), 'printButton')
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)
        self.wait(lambda d: self.by_id('jobProblem', d).text or self.by_id('afterJob', d).is_displayed())

    def test_registry_texts_show_as_text_in_history(self):
        self.open_page()
        self.show_history()
        job = self.api('GET', '/api/v1/jobs/2')[1]
        self.assertIn('<', job['labels'][0]['lower'])
        self.assertIn([job['first'], job['last']], [row[5:7] for row in self.rows()])
        self.open_job(locator=(By.XPATH, '//table[@id="jobTable"]//button[text()="2"]'))
        self.wait(lambda d: len(d.find_elements(By.CSS_SELECTOR, '#jobLabels tbody tr')) == 2)
        lowers = self.driver.execute_script(
            "return [...document.querySelectorAll('#jobLabels tbody tr')].map((row) => row.cells[4].textContent);")
        self.assertEqual(lowers, [label['lower'] for label in job['labels']])
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, 'main b, main img:not(#previewImage)'), [])

    def test_find_a_label(self):
        self.open_page()
        self.show_history()
        search = self.by_id('findLabel')
        search.send_keys('LAB 0003' + Keys.ENTER)
        self.wait(lambda d: [row[0] for row in self.rows()] == ['1'])
        search.clear()
        search.send_keys('ZZZ 9999' + Keys.ENTER)
        self.wait(lambda d: self.rows() == [] and 'ZZZ 9999' in self.by_id('historyNote', d).text)

    def test_a_job_in_question_is_answered(self):
        queue = os.path.join(self.state, 'printers', 'LabelQueue')
        os.makedirs(queue, exist_ok=True)
        with open(os.path.join(queue, 'start.txt'), 'w') as start:
            start.write('10,10,11\r\n\r\n')
        # A job the service handed to a printer and never confirmed, as a crash leaves it.
        registry = sqlite3.connect(os.path.join(self.station, 'registry.sqlite'))
        columns = [row[1] for row in registry.execute('PRAGMA table_info(jobs)') if row[1] != 'id']
        values = dict(zip(columns, registry.execute(f'SELECT {", ".join(columns)} FROM jobs WHERE id = 1').fetchone()))
        values.update(state='reserved', confirmed_at=None, host=socket.gethostname(), user_name='web',
                      folder=queue, printer='LabelQueue', numbering_type=None)
        job = registry.execute(f'INSERT INTO jobs ({", ".join(values)}) VALUES ({", ".join("?" * len(values))})',
                               list(values.values())).lastrowid
        registry.execute('INSERT INTO labels SELECT ?, n, upper_text, lower_text FROM labels WHERE job_id = 1', (job,))
        registry.commit()
        registry.close()

        self.open_page()
        self.wait(lambda d: self.by_id('questions', d).is_displayed())
        self.assertIn(str(job), self.by_id('questions').text)
        self.driver.find_element(By.XPATH, '//div[@id="questions"]//button[starts-with(@aria-label, "Not printed")]').click()
        self.wait(lambda d: not self.by_id('questions', d).is_displayed())
        self.assertEqual(self.api('GET', f'/api/v1/jobs/{job}')[0], 404)

    def test_map_start_and_preview(self):
        self.open_page()
        self.by_id('upperText').send_keys('WEB')
        samples = self.by_id('sampleCount')
        samples.clear()
        samples.send_keys('12')
        self.driver.find_element(By.CSS_SELECTOR, '#sheetMap [data-position="5"]').click()
        marks = lambda d: [spot.get_attribute('class').split()[1] for spot in
                           d.find_elements(By.CSS_SELECTOR, '#sheetMap .spot')]
        self.wait(lambda d: marks(d)[:17] == ['used'] * 4 + ['job'] * 12 + ['free'])
        self.assertEqual(self.by_id('startPosition').get_attribute('value'), '5')
        self.wait(lambda d: self.by_id('previewImage', d).is_displayed()
                  and d.execute_script('return arguments[0].naturalWidth', self.by_id('previewImage', d)) > 0)
        # A sheet of 13 x 18: its map, a start beyond the built-in 150, and the job onto its next sheet.
        Select(self.by_id('sheet')).select_by_value('shipped:a4-12mm-13x18')
        self.wait(lambda d: len(marks(d)) == 234)
        self.driver.find_element(By.CSS_SELECTOR, '#sheetMap [data-position="230"]').click()
        self.wait(lambda d: marks(d)[228:] == ['used'] + ['job'] * 5)
        self.assertEqual(self.by_id('startPosition').get_attribute('max'), '234')
        self.wait(lambda d: self.by_id('sheetShown', d).text.endswith('of 2'))
        places = lambda d: d.execute_script(
            "return [...document.querySelectorAll('#labelList tbody tr')].map((row) => row.cells[0].textContent + ':' + row.cells[1].textContent);")
        self.wait(lambda d: places(d) == [f'1:{p}' for p in range(230, 235)] + [f'2:{p}' for p in range(1, 8)])
        self.by_id('nextSheet').click()
        self.wait(lambda d: marks(d)[:8] == ['job'] * 7 + ['free'])
        # A text longer than the label's line: the service's refusal beside its field.
        self.by_id('upperText').send_keys('LONGER')
        self.wait(lambda d: 'design.upperTexts.1' in self.by_id('upperTextProblem', d).text)
        self.assertEqual(self.by_id('jobProblem').text, '')

    # ---- printing ---------------------------------------------------------

    def design_type1(self, upper, samples, position):
        self.by_id('upperText').send_keys(upper)
        self.by_id('firstNumber').send_keys('1')
        box = self.by_id('sampleCount')
        box.clear()
        box.send_keys(str(samples))
        self.driver.find_element(By.CSS_SELECTOR, f'#sheetMap [data-position="{position}"]').click()

    def print_pdf(self):
        self.by_id('pdfButton').click()
        self.wait(lambda d: self.by_id('afterJob', d).is_displayed() or self.by_id('duplicateDialog', d).get_attribute('open'))

    @staticmethod
    def positions_in(pdf):
        """The sheet positions of a PDF's numbers, from where pdftotext finds them: the
        grid's pitch is the smallest step between two of them, its corner the first row
        and column that hold one."""
        boxes = subprocess.run(['pdftotext', '-bbox', '-', '-'], input=pdf, capture_output=True,
                               timeout=WAIT).stdout.decode()
        words = [(float(x), float(y), text) for x, y, text in
                 re.findall(r'xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(\d{4})<', boxes)]
        xs = sorted({round(x, 1) for x, _, _ in words})
        pitch = min(b - a for a, b in zip(xs, xs[1:]))
        left, top = min(x for x, _, _ in words), min(y for _, y, _ in words)
        return {text: round((y - top) / pitch) * 10 + round((x - left) / pitch) + 1 for x, y, text in words}

    def newest_job(self):
        return self.api('GET', '/api/v1/jobs/' + str(self.api('GET', '/api/v1/jobs?limit=1')[1]['jobs'][0]['id']))[1]

    def test_pdf_then_duplicate_then_reprint(self):
        self.open_page()
        self.design_type1('PDF', 12, 5)
        self.print_pdf()
        job = self.newest_job()
        self.assertEqual([(l['position'], l['lower']) for l in job['labels']],
                         [(5 + i, f'{i + 1:04d}') for i in range(12)])
        self.assertIn('100 %', self.by_id('afterJob').text)
        # The PDF read back: each number at its place on the 10-column grid.
        self.assertEqual(self.positions_in(self.api('GET', job['documents']['labels.pdf'])[1]),
                         {f'{i + 1:04d}': 5 + i for i in range(12)})
        self.show_history()
        self.assertEqual(self.rows()[0][5:7], ['PDF 0001', 'PDF 0012'])

        # The same job again: the window's question, and "do not print" changes nothing.
        self.by_id('labelsTab').click()
        first = self.by_id('firstNumber')
        first.send_keys('1')
        next_before = self.api('GET', '/api/v1/next?output=pdf')[1]
        self.print_pdf()
        self.assertIn('printed before', self.by_id('duplicateQuestion').text)
        self.by_id('doNotPrint').click()
        self.assertEqual(self.newest_job()['id'], job['id'])
        self.assertEqual(self.api('GET', '/api/v1/next?output=pdf')[1], next_before)

        # Samples 3-4 of it again, from the history: the texts it stored.
        self.show_history()
        self.open_job()
        self.wait(lambda d: self.by_id('reprintButton', d).is_displayed())
        self.by_id('reprintButton').click()
        self.by_id('reprintRange').click()
        for box, value in (('reprintFirst', '3'), ('reprintLast', '4')):
            self.by_id(box).clear()
            self.by_id(box).send_keys(value)
        Select(self.by_id('reprintPrinter')).select_by_value('pdf')
        self.by_id('reprintSubmit').click()
        self.wait(lambda d: not self.by_id('reprintDialog', d).get_attribute('open'))
        reprint = self.newest_job()
        self.assertEqual(reprint['reprintOf'], job['id'])
        self.assertEqual([(l['upper'], l['lower']) for l in reprint['labels']],
                         [(l['upper'], l['lower']) for l in job['labels'][2:4]])

    def test_free_texts_and_a_date(self):
        self.open_page()
        self.driver.find_element(By.CSS_SELECTOR, 'label[for=type9]').click()
        self.by_id('upperText').send_keys('FT')
        # Beyond a free text's five bytes: refused beside the field, shown as text.
        self.by_id('freeTexts').send_keys('血液A\nB-7\n<b>x</b>')
        self.wait(lambda d: 'freeTexts[2]' in self.by_id('freeTextsProblem', d).text)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, 'main b'), [])
        self.by_id('freeTexts').send_keys(Keys.BACKSPACE * 4)
        self.wait(lambda d: len(d.find_elements(By.CSS_SELECTOR, '#labelList tbody tr')) == 3)
        self.assertEqual(self.by_id('freeTextsProblem').text, '')
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, '#labelList b'), [])
        self.print_pdf()
        self.assertEqual([l['lower'] for l in self.newest_job()['labels']], ['血液A', 'B-7', '<b>x'])

        self.driver.find_element(By.CSS_SELECTOR, 'label[for=type4]').click()
        adjust = self.by_id('dateAdjust')
        adjust.clear()
        adjust.send_keys('-1')
        shown = self.by_id('dateAdjustShown').text
        self.print_pdf()
        self.assertEqual({l['upper'] for l in self.newest_job()['labels']}, {shown})


if __name__ == '__main__':
    if webdriver is None or not (os.access(CHROMIUM, os.X_OK) and os.access(DRIVER, os.X_OK)):
        print('skipped: needs chromium, chromium-driver and python3-selenium (scripts/setup --test)')
        sys.exit(77)
    result = unittest.main(exit=False, verbosity=2).result
    sys.exit(0 if result.wasSuccessful() else 1)
