<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutDialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>製品名&#x3000;Rondelmaker</source>
        <translation>Product&#x3000;Rondelmaker</translation>
    </message>
    <message>
        <source>バージョン&#x3000;%1</source>
        <translation>Version&#x3000;%1</translation>
    </message>
    <message>
        <source>Copyright © 2026 Rondelmaker</source>
        <translation>Copyright © 2026 Rondelmaker</translation>
    </message>
    <message>
        <source>１１ｍφ円形ラベル印刷プログラム</source>
        <translation>Printing of 11 mm round labels</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>--samples takes a range of samples A-B, not &apos;%1&apos;</source>
        <translation>--samples takes a range of samples A-B, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--samples takes a number from 1 to %1, not &apos;%2&apos;</source>
        <translation>--samples takes a number from 1 to %1, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--first takes a number from 0 to 9999, not &apos;%1&apos;</source>
        <translation>--first takes a number from 0 to 9999, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--start takes a sheet position from 1 to %1, not &apos;%2&apos;</source>
        <translation>--start takes a sheet position from 1 to %1, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--since takes a date as YYYY-MM-DD, not &apos;%1&apos;</source>
        <translation>--since takes a date as YYYY-MM-DD, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--type takes a label type from 1 to 12, not &apos;%1&apos;</source>
        <translation>--type takes a label type from 1 to 12, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <translation>%1 does not take %2</translation>
    </message>
    <message>
        <source>%1 is given twice</source>
        <translation>%1 is given twice</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 takes no other argument (&apos;%2&apos;)</source>
        <translation>%1 takes no other argument (&apos;%2&apos;)</translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <translation>%1 needs %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is one argument too many</source>
        <translation>&apos;%1&apos; is one argument too many</translation>
    </message>
    <message>
        <source>%1 needs a job number, not &apos;%2&apos;</source>
        <translation>%1 needs a job number, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>resolve JOB takes printed or not-printed, not &apos;%1&apos;</source>
        <translation>resolve JOB takes printed or not-printed, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>a command is needed (rondelmaker-cli --help lists them)</source>
        <translation>a command is needed (rondelmaker-cli --help lists them)</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--printer and --pdf exclude each other</source>
        <translation>--printer and --pdf exclude each other</translation>
    </message>
    <message>
        <source>--samples and --labels exclude each other</source>
        <translation>--samples and --labels exclude each other</translation>
    </message>
    <message>
        <source>--record: ラベル数オーバー（３００以上）です。プリントできません！（%1）</source>
        <translation>--record: too many labels (300 or more) for a record. It cannot be printed. (%1)</translation>
    </message>
    <message>
        <source>--xls: type %1 labels have no spreadsheet</source>
        <translation>--xls: type %1 labels have no spreadsheet</translation>
    </message>
    <message>
        <source>
Nothing printed; --allow-duplicates prints them again.</source>
        <translation>
Nothing printed; --allow-duplicates prints them again.</translation>
    </message>
    <message>
        <source>state folder not found: %1</source>
        <translation>state folder not found: %1</translation>
    </message>
    <message>
        <source>%1: cannot write %2</source>
        <translation>%1: cannot write %2</translation>
    </message>
    <message>
        <source>no default printer: give --printer NAME or --pdf FILE</source>
        <translation>no default printer: give --printer NAME or --pdf FILE</translation>
    </message>
    <message>
        <source>ラベル台帳を開けません。
%1
%2</source>
        <translation>The label registry cannot be opened.
%1
%2</translation>
    </message>
    <message>
        <source>
Its labels count as issued. Say what happened with rondelmaker-cli resolve %1 printed|not-printed</source>
        <translation>
Its labels count as issued. Say what happened with rondelmaker-cli resolve %1 printed|not-printed</translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>cannot read standard input: %1</translation>
    </message>
    <message>
        <source>standard input holds more than %1 bytes</source>
        <translation>standard input holds more than %1 bytes</translation>
    </message>
    <message>
        <source>%1: neither UTF-8 nor Shift_JIS text</source>
        <translation>%1: neither UTF-8 nor Shift_JIS text</translation>
    </message>
    <message>
        <source>
(rondelmaker-cli --help shows the usage)</source>
        <translation>
(rondelmaker-cli --help shows the usage)</translation>
    </message>
    <message>
        <source>find: a label is at most %1 characters long (both lines and a space); this text has %2</source>
        <translation>find: a label is at most %1 characters long (both lines and a space); this text has %2</translation>
    </message>
    <message>
        <source>
Give the first number with --first N.</source>
        <translation>
Give the first number with --first N.</translation>
    </message>
    <message>
        <source>（--free-texts FILE）</source>
        <translation> (--free-texts FILE)</translation>
    </message>
    <message>
        <source>Usage:
  rondelmaker-cli print DESIGN.json [options]   print a job, as the window&apos;s Print button does
  rondelmaker-cli list DESIGN.json [options]    write the job&apos;s labels as CSV, print nothing
  rondelmaker-cli next                          show where the next job starts
  rondelmaker-cli history [--since DATE] [--type N]   the jobs of the registry, as CSV
  rondelmaker-cli labels JOB                    a job&apos;s labels, as list writes them
  rondelmaker-cli find TEXT                     the jobs that issued a label
  rondelmaker-cli reprint JOB [options]         print a job&apos;s labels again
  rondelmaker-cli resolve JOB printed|not-printed   say whether a job in question printed
  rondelmaker-cli sheets                        the label sheets it can print on, as CSV
  rondelmaker-cli --help | --version

The numbering goes on where the last job of the same label type left it (the
registry of issued labels keeps it), and the job starts at the sheet position
in start.txt, on the station&apos;s label sheet (the one last printed on, else
the built-in sheet of 150 positions). A job is recorded in the registry before it prints; labels that
were issued before are printed again only with --allow-duplicates. Type 8&apos;s
labels are never checked for duplicates: its two lines are fixed texts, the
same on every label.

Options of print and list:
  --samples N          number of samples, 1..1200 (types 1 to 8)
  --first N            first number, within the type&apos;s range (instead of going on)
  --start P            sheet position to start at, 1..N of the sheet (instead of
                       start.txt&apos;s)
  --sheet ID|FILE      print on this label sheet (an id that sheets lists, or a
                       sheet file); it becomes the station&apos;s sheet. Also for
                       next and reprint; a reprint is otherwise on the
                       station&apos;s sheet, whatever sheet the job was on
  --free-texts FILE    free texts of types 9 to 12, one per line, or the first
                       column of a CSV file; &quot;-&quot; reads standard input
  --code datamatrix|none
                       a Data Matrix code on every label, or none (instead of
                       the design&apos;s choice)
Options of print only:
  --printer NAME       print queue (default: the system&apos;s default printer)
  --pdf FILE           write the labels to a PDF file instead of a printer
  --record FILE.pdf    also write the job&apos;s A4 record as a PDF
  --xls FILE.xls       also write the job&apos;s spreadsheet (Excel 97-2003)
  --allow-duplicates   print also labels that were issued before
Options of reprint:
  --samples A-B        samples A to B of the job (default: all its labels)
  --labels TEXT,...    these labels only (&quot;LAB 0057&quot;, or the lower line)
  --start P, --printer NAME, --pdf FILE   as for print
Options of every command:
  --state-dir DIR      folder of start.txt and state.json (default: beside the
                       program, or ~/.config/Rondelmaker for an installed one)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf&apos;s, else registry.sqlite in
                       the state folder). The URL may add ?sslmode=,
                       sslrootcert=, sslcert=, sslkey=, connect_timeout=,
                       application_name=, host= (a socket folder), port=;
                       any other option, and a password, are refused
history: --since YYYY-MM-DD, --type N (1..12). find: a label&apos;s text, at most
11 characters.
Every call of the registry ends within registry_timeout= seconds of
rondelmaker.conf (default 10); a registry that does not answer by then counts
as unreachable.

list and labels write &quot;sheet,position,sample,repeat,upper,lower&quot; rows (the
position on the job&apos;s sheet), sheets
&quot;id,name,paper_width,paper_height,diameter,columns,rows,positions,source&quot;
(lengths in mm; columns and rows of the first grid), history
and find &quot;id,time,kind,state,type,first,last,labels,printer,station&quot; (RFC 4180,
UTF-8).

Exit codes:
  0  done
  1  nothing printed and nothing advanced (printer refused the job, output not
     writable, another Rondelmaker holds the folder, the registry cannot be
     reached, does not answer in time or cannot record the job, start.txt or
     state.json not writable)
  2  bad arguments, a bad file (design, free texts, start.txt, state.json) or
     a registry setting that cannot be used; nothing changed
  3  the labels were printed and recorded, but the record or the spreadsheet
     could not be written, or the registry could not be told they printed
     (the next contact does; the message says which)
  4  some labels were issued before: nothing printed (--allow-duplicates)
</source>
        <translation>Usage:
  rondelmaker-cli print DESIGN.json [options]   print a job, as the window&apos;s Print button does
  rondelmaker-cli list DESIGN.json [options]    write the job&apos;s labels as CSV, print nothing
  rondelmaker-cli next                          show where the next job starts
  rondelmaker-cli history [--since DATE] [--type N]   the jobs of the registry, as CSV
  rondelmaker-cli labels JOB                    a job&apos;s labels, as list writes them
  rondelmaker-cli find TEXT                     the jobs that issued a label
  rondelmaker-cli reprint JOB [options]         print a job&apos;s labels again
  rondelmaker-cli resolve JOB printed|not-printed   say whether a job in question printed
  rondelmaker-cli sheets                        the label sheets it can print on, as CSV
  rondelmaker-cli --help | --version

The numbering goes on where the last job of the same label type left it (the
registry of issued labels keeps it), and the job starts at the sheet position
in start.txt, on the station&apos;s label sheet (the one last printed on, else
the built-in sheet of 150 positions). A job is recorded in the registry before it prints; labels that
were issued before are printed again only with --allow-duplicates. Type 8&apos;s
labels are never checked for duplicates: its two lines are fixed texts, the
same on every label.

Options of print and list:
  --samples N          number of samples, 1..1200 (types 1 to 8)
  --first N            first number, within the type&apos;s range (instead of going on)
  --start P            sheet position to start at, 1..N of the sheet (instead of
                       start.txt&apos;s)
  --sheet ID|FILE      print on this label sheet (an id that sheets lists, or a
                       sheet file); it becomes the station&apos;s sheet. Also for
                       next and reprint; a reprint is otherwise on the
                       station&apos;s sheet, whatever sheet the job was on
  --free-texts FILE    free texts of types 9 to 12, one per line, or the first
                       column of a CSV file; &quot;-&quot; reads standard input
  --code datamatrix|none
                       a Data Matrix code on every label, or none (instead of
                       the design&apos;s choice)
Options of print only:
  --printer NAME       print queue (default: the system&apos;s default printer)
  --pdf FILE           write the labels to a PDF file instead of a printer
  --record FILE.pdf    also write the job&apos;s A4 record as a PDF
  --xls FILE.xls       also write the job&apos;s spreadsheet (Excel 97-2003)
  --allow-duplicates   print also labels that were issued before
Options of reprint:
  --samples A-B        samples A to B of the job (default: all its labels)
  --labels TEXT,...    these labels only (&quot;LAB 0057&quot;, or the lower line)
  --start P, --printer NAME, --pdf FILE   as for print
Options of every command:
  --state-dir DIR      folder of start.txt and state.json (default: beside the
                       program, or ~/.config/Rondelmaker for an installed one)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf&apos;s, else registry.sqlite in
                       the state folder). The URL may add ?sslmode=,
                       sslrootcert=, sslcert=, sslkey=, connect_timeout=,
                       application_name=, host= (a socket folder), port=;
                       any other option, and a password, are refused
history: --since YYYY-MM-DD, --type N (1..12). find: a label&apos;s text, at most
11 characters.
Every call of the registry ends within registry_timeout= seconds of
rondelmaker.conf (default 10); a registry that does not answer by then counts
as unreachable.

list and labels write &quot;sheet,position,sample,repeat,upper,lower&quot; rows (the
position on the job&apos;s sheet), sheets
&quot;id,name,paper_width,paper_height,diameter,columns,rows,positions,source&quot;
(lengths in mm; columns and rows of the first grid), history
and find &quot;id,time,kind,state,type,first,last,labels,printer,station&quot; (RFC 4180,
UTF-8).

Exit codes:
  0  done
  1  nothing printed and nothing advanced (printer refused the job, output not
     writable, another Rondelmaker holds the folder, the registry cannot be
     reached, does not answer in time or cannot record the job, start.txt or
     state.json not writable)
  2  bad arguments, a bad file (design, free texts, start.txt, state.json) or
     a registry setting that cannot be used; nothing changed
  3  the labels were printed and recorded, but the record or the spreadsheet
     could not be written, or the registry could not be told they printed
     (the next contact does; the message says which)
  4  some labels were issued before: nothing printed (--allow-duplicates)
</translation>
    </message>
</context>
<context>
    <name>DesignFile</name>
    <message>
        <source>「%1」が %2 文字の配列ではありません。</source>
        <translation>&quot;%1&quot; is not a list of %2 texts.</translation>
    </message>
</context>
<context>
    <name>DesignScreen</name>
    <message>
        <source>Type%1 英字</source>
        <translation>Type%1 letter</translation>
    </message>
    <message>
        <source>Type%1</source>
        <translation>Type%1</translation>
    </message>
    <message>
        <source>Type%1 上の文字</source>
        <translation>Type%1 upper text</translation>
    </message>
    <message>
        <source>Type8 上下の文字</source>
        <translation>Type8 upper and lower text</translation>
    </message>
    <message>
        <source>文字→</source>
        <translation>Text→</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>サンプルの文字をすべて消します</source>
        <translation>Clears all sample texts</translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>First no.</translation>
    </message>
    <message>
        <source>サンプル数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>リピート数</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>日時調整</source>
        <translation>Date shift</translation>
    </message>
    <message>
        <source>PrintSet</source>
        <translation>PrintSet</translation>
    </message>
    <message>
        <source>印刷の設定画面に進みます</source>
        <translation>Goes on to the print settings</translation>
    </message>
    <message>
        <source>数字表示</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>ステップ</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>０００１</source>
        <translation>0001</translation>
    </message>
    <message>
        <source>１</source>
        <translation>1</translation>
    </message>
    <message>
        <source>サンプルの文字</source>
        <translation>Sample texts</translation>
    </message>
    <message>
        <source>%1 テキスト = %1 サンプル</source>
        <translation>%1 texts = %1 samples</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>ラベルを探す:</source>
        <translation>Find a label:</translation>
    </message>
    <message>
        <source>例: LAB 0031</source>
        <translation>e.g. LAB 0031</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>印刷したジョブ</source>
        <translation>Printed jobs</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>タイプ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>最初</source>
        <translation>First</translation>
    </message>
    <message>
        <source>最後</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>枚数</source>
        <translation>Labels</translation>
    </message>
    <message>
        <source>プリンター</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>ステーション</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>選んだジョブの記録を A4 に印刷します</source>
        <translation>Prints the record of the chosen job on A4</translation>
    </message>
    <message>
        <source>Excel</source>
        <translation>Excel</translation>
    </message>
    <message>
        <source>選んだジョブを Excel のファイルに書き出します</source>
        <translation>Writes the chosen job to an Excel file</translation>
    </message>
    <message>
        <source>再印刷</source>
        <translation>Reprint</translation>
    </message>
    <message>
        <source>選んだジョブのラベルを、番号を進めずにもう一度印刷します</source>
        <translation>Prints the labels of the chosen job again, without advancing the numbers</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>再印刷（%1）</source>
        <translation>Reprint (%1)</translation>
    </message>
    <message>
        <source>ラベル</source>
        <translation>Labels</translation>
    </message>
    <message>
        <source>印刷済み</source>
        <translation>Printed</translation>
    </message>
    <message>
        <source>未確認</source>
        <translation>Unconfirmed</translation>
    </message>
    <message numerus="yes">
        <source>%n 件のジョブ</source>
        <translation>
            <numerusform>%n job</numerusform>
            <numerusform>%n jobs</numerusform>
        </translation>
    </message>
    <message>
        <source>履歴を読めません: %1</source>
        <translation>The history cannot be read: %1</translation>
    </message>
    <message>
        <source>探せません: %1</source>
        <translation>Cannot search: %1</translation>
    </message>
    <message>
        <source>「%1」は見つかりません</source>
        <translation>&quot;%1&quot; was not found</translation>
    </message>
    <message>
        <source>ジョブ %1 が印刷しました</source>
        <translation>Printed by job %1</translation>
    </message>
    <message>
        <source>ジョブ</source>
        <translation>Job</translation>
    </message>
    <message>
        <source>印刷されたか答える</source>
        <translation>Printed or not?</translation>
    </message>
    <message>
        <source>選んだ未確認のジョブが印刷されたかどうかを答えます</source>
        <translation>Say whether the selected job in question printed</translation>
    </message>
</context>
<context>
    <name>JobJson</name>
    <message>
        <source>「%1」が日時ではありません。</source>
        <translation>&quot;%1&quot; is not a date and time.</translation>
    </message>
    <message>
        <source>「%1」の数 %2 が sampleCount × repeatCount の %3 と合いません。</source>
        <translation>The count %2 of &quot;%1&quot; does not match sampleCount × repeatCount, %3.</translation>
    </message>
    <message>
        <source>「%1」が上と下の2つの文字列ではありません。</source>
        <translation>&quot;%1&quot; is not two texts, upper and lower.</translation>
    </message>
</context>
<context>
    <name>JobLines</name>
    <message>
        <source>印刷するラベルがありません</source>
        <translation>No labels to print</translation>
    </message>
    <message numerus="yes">
        <source>%n 枚</source>
        <translation>
            <numerusform>%n label</numerusform>
            <numerusform>%n labels</numerusform>
        </translation>
    </message>
    <message>
        <source>シート %1 の %2 から</source>
        <translation>sheet %1 from %2</translation>
    </message>
    <message numerus="yes">
        <source>（%n シート）</source>
        <translation>
            <numerusform> (%n sheet)</numerusform>
            <numerusform> (%n sheets)</numerusform>
        </translation>
    </message>
    <message>
        <source>2D コード</source>
        <translation>2D code</translation>
    </message>
    <message>
        <source>日付 %1</source>
        <translation>date %1</translation>
    </message>
    <message>
        <source>%1 を再印刷しました（%2）。次の開始位置 %3</source>
        <translation>Reprinted %1 to %2; next start at position %3</translation>
    </message>
    <message>
        <source>%1 を印刷しました（%2）。次の開始位置 %3</source>
        <translation>Printed %1 to %2; next start at position %3</translation>
    </message>
    <message>
        <source>%1 を印刷しました（%2）。次は %3、開始位置 %4</source>
        <translation>Printed %1 to %2; next %3 at position %4</translation>
    </message>
    <message>
        <source>%1 の記録を %2 に保存しました</source>
        <translation>Saved the record of %1 to %2</translation>
    </message>
    <message>
        <source>%1 の記録を印刷しました（%2）</source>
        <translation>Printed the record of %1 to %2</translation>
    </message>
    <message>
        <source>%1 を保存しました</source>
        <translation>Saved %1</translation>
    </message>
</context>
<context>
    <name>JobPlanning</name>
    <message>
        <source>スタートファイルがありません。
%1</source>
        <translation>The start file is missing.
%1</translation>
    </message>
    <message>
        <source>前回の状態を読み込めませんでした。次の番号を復元できません。
%1
%2</source>
        <translation>The saved state could not be read. The next number cannot be restored.
%1
%2</translation>
    </message>
    <message>
        <source>自由テキストが %1 個あります。ジョブに使えるのは %2 個までです。</source>
        <translation>%1 free texts: a job takes at most %2</translation>
    </message>
    <message>
        <source>%1 番目の自由テキストが空です（ラベルに印刷できる文字がありません）。</source>
        <translation>free text %1 is empty (or holds nothing a label can print)</translation>
    </message>
    <message>
        <source>タイプ %1 には自由テキストが要ります。</source>
        <translation>type %1 needs free texts</translation>
    </message>
    <message>
        <source>プリントラベル数は合計で１２００枚までです。枚数をお下げ下さい。</source>
        <translation>A job prints at most 1200 labels. Please lower the count.</translation>
    </message>
    <message>
        <source>（%1 × %2 = %3）</source>
        <translation> (%1 × %2 = %3)</translation>
    </message>
    <message>
        <source>タイプ %1 は自由テキスト１つに１枚を印刷します。</source>
        <translation>type %1 prints one label per free text</translation>
    </message>
    <message>
        <source>タイプ %1 に番号はありません。</source>
        <translation>type %1 has no running number</translation>
    </message>
    <message>
        <source>タイプ %1 の番号は 0～%2 です（%3 ではありません）。</source>
        <translation>type %1 numbers from 0 to %2, not %3</translation>
    </message>
    <message>
        <source>自由テキストはタイプ 9～12 のものです。デザインはタイプ %1 です。</source>
        <translation>free texts are for types 9 to 12, the design is type %1</translation>
    </message>
    <message>
        <source>開始位置は 1～%1 です（%2 ではありません）。</source>
        <translation>the start position is 1 to %1, not %2</translation>
    </message>
    <message>
        <source>前回の状態を読み込めませんでした。
%1
%2</source>
        <translation>The saved state could not be read.
%1
%2</translation>
    </message>
    <message>
        <source>ほかの Rondelmaker が印刷したため、開始位置か番号が変わりました。見本を確かめて、もう一度 Print を押してください。</source>
        <translation>Another Rondelmaker printed meanwhile, so the start position or the number changed. Check the sample and press Print again.</translation>
    </message>
    <message>
        <source>開始位置 %1 はシート「%2」にありません（1～%3）。1 から印刷します。</source>
        <translation>Start position %1 is not on the sheet “%2” (1 to %3). Printing starts at 1.</translation>
    </message>
    <message>
        <source>前回の状態が壊れているため、ステーションのラベルシートが分かりません。組み込みのシートに印刷します。</source>
        <translation>The last state is damaged, so the station&apos;s label sheet is not known. Printing on the built-in sheet.</translation>
    </message>
</context>
<context>
    <name>JobTransaction</name>
    <message>
        <source>ラベル台帳に記録できないため、印刷しません。
%1
%2</source>
        <translation>Nothing is printed: the label registry cannot record the job.
%1
%2</translation>
    </message>
    <message>
        <source>ほかのステーションが同時に印刷し続けています。もう一度試してください。</source>
        <translation>Other stations keep printing at the same time. Please try again.</translation>
    </message>
    <message>
        <source>印刷しましたが、台帳に印刷済みと記録できませんでした（次の接続で記録します）: %1</source>
        <translation>Printed, but the registry could not record the job as printed (it is recorded at the next connection): %1</translation>
    </message>
    <message>
        <source>壊れた状態ファイルを残せないため、印刷しません: %1</source>
        <translation>Nothing is printed: the damaged state file cannot be kept: %1</translation>
    </message>
    <message>
        <source>壊れた状態ファイルを %1 として残しました。</source>
        <translation>The damaged state file was kept as %1.</translation>
    </message>
    <message>
        <source>状態を保存できないため、印刷しません。
%1
%2</source>
        <translation>Nothing is printed: the state cannot be saved.
%1
%2</translation>
    </message>
</context>
<context>
    <name>JsonFields</name>
    <message>
        <source>「%1」がありません。</source>
        <translation>&quot;%1&quot; is missing.</translation>
    </message>
    <message>
        <source>「%1」がオブジェクトではありません。</source>
        <translation>&quot;%1&quot; is not an object.</translation>
    </message>
    <message>
        <source>「%1」が配列ではありません。</source>
        <translation>&quot;%1&quot; is not a list.</translation>
    </message>
    <message>
        <source>「%1」が文字列ではありません。</source>
        <translation>&quot;%1&quot; is not a text.</translation>
    </message>
    <message>
        <source>「%1」が true か false ではありません。</source>
        <translation>&quot;%1&quot; is neither true nor false.</translation>
    </message>
    <message>
        <source>「%1」の値 %2 は %3～%4 の範囲外です。</source>
        <translation>The value %2 of &quot;%1&quot; is outside %3 to %4.</translation>
    </message>
    <message>
        <source>「%1」の値 %2 は範囲外です。</source>
        <translation>The value %2 of &quot;%1&quot; is out of range.</translation>
    </message>
    <message>
        <source>「%1」の値 %2 は %3 のどれでもありません。</source>
        <translation>The value %2 of &quot;%1&quot; is none of %3.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>「%1」の値 &quot;%2&quot; は %3 のどれでもありません。</source>
        <translation>The value &quot;%2&quot; of &quot;%1&quot; is none of %3.</translation>
    </message>
    <message>
        <source>「%1」の値 &quot;%2&quot; は A～Z の1文字ではありません。</source>
        <translation>The value &quot;%2&quot; of &quot;%1&quot; is not one letter A to Z.</translation>
    </message>
    <message>
        <source>「%1」の値 &quot;%2&quot; は #rrggbb の形ではありません。</source>
        <translation>The value &quot;%2&quot; of &quot;%1&quot; is not of the form #rrggbb.</translation>
    </message>
    <message>
        <source>「format」が %1 ではありません。</source>
        <translation>&quot;format&quot; is not %1.</translation>
    </message>
    <message>
        <source>バージョン %1 のファイルです。このプログラムはバージョン %2 までを読めます。</source>
        <translation>The file is of version %1. This program reads versions up to %2.</translation>
    </message>
    <message>
        <source>「version」の値 %1 は 1～%2 の範囲外です。</source>
        <translation>The value %1 of &quot;version&quot; is outside 1 to %2.</translation>
    </message>
    <message>
        <source>JSON として読めません: %1 (位置 %2)</source>
        <translation>Not readable as JSON: %1 (offset %2)</translation>
    </message>
    <message>
        <source>JSON のオブジェクトではありません。</source>
        <translation>Not a JSON object.</translation>
    </message>
    <message>
        <source>「%1」が2回あります。</source>
        <translation>&quot;%1&quot; is given twice.</translation>
    </message>
    <message>
        <source>「%1」が整数ではありません。</source>
        <translation>&quot;%1&quot; is not a whole number.</translation>
    </message>
    <message>
        <source>ファイルがありません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます（%1 バイトまで）。</source>
        <translation>The file is too large (at most %1 bytes).</translation>
    </message>
    <message>
        <source>読み込めません: %1</source>
        <translation>Cannot read: %1</translation>
    </message>
    <message>
        <source>「%1」が数ではありません。</source>
        <translation>&quot;%1&quot; is not a number.</translation>
    </message>
</context>
<context>
    <name>LabelCodes</name>
    <message>
        <source>ラベル「%1」は 2D コード（%2×%2 まで）に入りきりません。文字を短くするか、2D コードを外してください。</source>
        <translation>The label &quot;%1&quot; does not fit into a 2D code (up to %2×%2). Shorten its text or take the 2D code off.</translation>
    </message>
</context>
<context>
    <name>LabelRegistry</name>
    <message numerus="yes">
        <source>%1 は %2 にジョブ %3 で印刷済みです</source>
        <translation>
            <numerusform>%1 was printed on %2 by job %3</numerusform>
            <numerusform>%1 were printed on %2 by job %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 は %2 にジョブ %3 で発行されました（印刷されたかどうか確かめられていないジョブです）</source>
        <translation>
            <numerusform>%1 was issued on %2 by job %3, which is in question (not known to have printed)</numerusform>
            <numerusform>%1 were issued on %2 by job %3, which is in question (not known to have printed)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LookPanel</name>
    <message>
        <source>文字の色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>背景の色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Rainbow</source>
        <translation>Rainbow</translation>
    </message>
    <message>
        <source>ラベルの地の色を順に変えて印刷します</source>
        <translation>Prints the labels with background colours in turn</translation>
    </message>
    <message>
        <source>右クリックでフォントを選べます</source>
        <translation>Right-click to choose the font</translation>
    </message>
    <message>
        <source>2D コード</source>
        <translation>2D code</translation>
    </message>
    <message>
        <source>ラベルの中央に、文字と同じ内容の Data Matrix コードを印刷します</source>
        <translation>Prints a Data Matrix code with the same content as the text in the middle of each label</translation>
    </message>
    <message>
        <source>枠</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>見本のラベルにだけ枠を付けます。印刷はされません</source>
        <translation>Frames the sample label only. The frame is not printed</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>スタートファイルがありません。</source>
        <translation>The start file is missing.</translation>
    </message>
    <message>
        <source>次: %1 ・ 開始位置 %2</source>
        <translation>Next: %1 · position %2</translation>
    </message>
    <message>
        <source>状態を保存できませんでした。このまま終了しますか？</source>
        <translation>The state could not be saved. End anyway?</translation>
    </message>
    <message>
        <source>ファイルを残せませんでした: %1</source>
        <translation>The file could not be kept: %1</translation>
    </message>
    <message>
        <source>元のファイルは %1 として残しました。</source>
        <translation>The original file was kept as %1.</translation>
    </message>
    <message>
        <source>前回の状態を読み込めませんでした。次の番号を復元できません。印刷する前に初期値と文字を確かめてください。</source>
        <translation>The saved state could not be read. The next number cannot be restored. Check the first number and the texts before printing.</translation>
    </message>
    <message>
        <source>状態を保存できません。
%1
%2</source>
        <translation>The state cannot be saved.
%1
%2</translation>
    </message>
    <message>
        <source>デザインファイルを開けません。
%1
%2</source>
        <translation>The design file cannot be opened.
%1
%2</translation>
    </message>
    <message>
        <source>ラベルデザイン (*.json)</source>
        <translation>Label designs (*.json)</translation>
    </message>
    <message>
        <source>同名のファイルがあります。重ねがきしますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <source>デザインファイルを保存できません。
%1
%2</source>
        <translation>The design file cannot be saved.
%1
%2</translation>
    </message>
    <message>
        <source>Rondelmaker Manager&#x3000;</source>
        <translation>Rondelmaker Manager&#x3000;</translation>
    </message>
    <message>
        <source>Round Label Printing System</source>
        <translation>Round Label Printing System</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Excel</source>
        <translation>Excel</translation>
    </message>
    <message>
        <source>前回の印刷を Excel のファイルに書き出します</source>
        <translation>Writes the last job to an Excel file</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>前回の印刷の記録を A4 の用紙に印刷します</source>
        <translation>Prints the record of the last job on A4 paper</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>デザイン画面に戻ります</source>
        <translation>Goes back to the design screen</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>これまでに印刷したラベルの記録を開きます</source>
        <translation>Opens the record of the labels printed so far</translation>
    </message>
    <message>
        <source>ラベルの種類</source>
        <translation>Label types</translation>
    </message>
    <message>
        <source>Type1-4</source>
        <translation>Type1-4</translation>
    </message>
    <message>
        <source>Type5-8</source>
        <translation>Type5-8</translation>
    </message>
    <message>
        <source>Type9-12</source>
        <translation>Type9-12</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>開く…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>名前を付けて保存…</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>言語 / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動（システムの言語）</source>
        <translation>Automatic (the system&apos;s language)</translation>
    </message>
    <message>
        <source>印刷されましたか？</source>
        <translation>Was it printed?</translation>
    </message>
    <message>
        <source>わかるまで、このラベルは印刷済みとして扱います。</source>
        <translation>Until you know, these labels count as printed.</translation>
    </message>
    <message>
        <source>印刷された</source>
        <translation>Printed</translation>
    </message>
    <message>
        <source>印刷されなかった</source>
        <translation>Not printed</translation>
    </message>
    <message>
        <source>あとで</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>印刷したサンプルの文字を消しますか？</source>
        <translation>Clear the sample texts that were printed?</translation>
    </message>
    <message>
        <source>残す</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>消す</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>このジョブには、すでに印刷したラベルがあります。もう一度印刷しますか？</source>
        <translation>This job holds labels that were printed before. Print them again?</translation>
    </message>
    <message>
        <source>印刷しない</source>
        <translation>Do not print</translation>
    </message>
    <message>
        <source>もう一度印刷する</source>
        <translation>Print again</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>ラベル台帳: %1</source>
        <translation>Label registry: %1</translation>
    </message>
    <message>
        <source>ラベル台帳: 使えません</source>
        <translation>Label registry: not available</translation>
    </message>
    <message>
        <source>開始位置 %1 はシート「%2」にありません（1～%3）。開始位置を 1 にします。</source>
        <translation>Start position %1 is not on the sheet “%2” (1 to %3). The start position becomes 1.</translation>
    </message>
</context>
<context>
    <name>NewSheetDialog</name>
    <message>
        <source>最初の行</source>
        <translation>First row</translation>
    </message>
    <message>
        <source>新しいシート</source>
        <translation>New sheet</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>用紙の幅（mm）</source>
        <translation>Paper width (mm)</translation>
    </message>
    <message>
        <source>用紙の高さ（mm）</source>
        <translation>Paper height (mm)</translation>
    </message>
    <message>
        <source>丸の直径（mm）</source>
        <translation>Disc diameter (mm)</translation>
    </message>
    <message>
        <source>列</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>最初の丸の左（mm、用紙の左端から）</source>
        <translation>First disc&apos;s left (mm from the paper&apos;s left edge)</translation>
    </message>
    <message>
        <source>最初の丸の上（mm、用紙の上端から）</source>
        <translation>First disc&apos;s top (mm from the paper&apos;s top edge)</translation>
    </message>
    <message>
        <source>横のピッチ（mm）</source>
        <translation>Horizontal pitch (mm)</translation>
    </message>
    <message>
        <source>縦のピッチ（mm）</source>
        <translation>Vertical pitch (mm)</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ラベル %1 枚のシート</source>
        <translation>A sheet of %1 labels</translation>
    </message>
</context>
<context>
    <name>PlacementPanel</name>
    <message>
        <source>開始位置</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>横の倍率</source>
        <translation>Scale X</translation>
    </message>
    <message>
        <source>縦の倍率</source>
        <translation>Scale Y</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>テスト印刷</source>
        <translation>Test sheet</translation>
    </message>
    <message>
        <source>枚目</source>
        <translation>Sheet</translation>
    </message>
    <message>
        <source>オフセット</source>
        <translation>Offsets</translation>
    </message>
    <message>
        <source>縦方向（＋は下）に移動</source>
        <translation>Vertical shift
(+ moves down)</translation>
    </message>
    <message>
        <source>横方向（＋は右）に移動</source>
        <translation>Horizontal shift
(+ moves right)</translation>
    </message>
    <message>
        <source>%1〜%2 の番号</source>
        <translation>a number %1–%2</translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>前のページ</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>次のページ</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PrintDocument</name>
    <message>
        <source>出力ファイル「%1」</source>
        <translation>output file &quot;%1&quot;</translation>
    </message>
    <message>
        <source>プリンター「%1」</source>
        <translation>printer &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 への印刷を完了できませんでした。文書を最後まで作れませんでした。</source>
        <translation>Printing to %1 could not be completed. The document could not be finished.</translation>
    </message>
    <message>
        <source>PDFファイルを保存できません。
%1
%2</source>
        <translation>The PDF file cannot be saved.
%1
%2</translation>
    </message>
    <message>
        <source>印刷先</source>
        <translation>the printer</translation>
    </message>
    <message>
        <source>印刷を開始できません。%1 に書き出せませんでした。</source>
        <translation>Printing cannot start. %1 could not be written.</translation>
    </message>
    <message>
        <source>%1 で次のページを開始できませんでした。</source>
        <translation>The next page could not be started on %1.</translation>
    </message>
    <message>
        <source>%1 への印刷を完了できませんでした。</source>
        <translation>Printing to %1 could not be completed.</translation>
    </message>
    <message>
        <source>PDF文書</source>
        <translation>the PDF document</translation>
    </message>
</context>
<context>
    <name>PrintQueue</name>
    <message>
        <source>プリンター「%1」に印刷できません。印刷システムのライブラリ（libcups）を読み込めませんでした。</source>
        <translation>Cannot print to printer &quot;%1&quot;. The print system&apos;s library (libcups) could not be loaded.</translation>
    </message>
    <message>
        <source>プリンター「%1」は印刷ジョブを受け付けていません。</source>
        <translation>Printer &quot;%1&quot; does not accept print jobs.</translation>
    </message>
    <message>
        <source>プリンター「%1」が見つかりません。</source>
        <translation>Printer &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>プリンター「%1」に印刷ジョブを渡せませんでした。</source>
        <translation>The print job could not be handed to printer &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>プリンター「%1」に印刷ジョブを渡せませんでした。印刷は取り消しました。</source>
        <translation>The print job could not be handed to printer &quot;%1&quot;. The job was cancelled.</translation>
    </message>
    <message>
        <source>プリンター「%1」に印刷できません。この版には印刷システムへの接続がありません。</source>
        <translation>Cannot print to printer &quot;%1&quot;. This build has no connection to the print system.</translation>
    </message>
</context>
<context>
    <name>PrintRecord</name>
    <message>
        <source>ラベルプリント記録</source>
        <translation>Label print record</translation>
    </message>
    <message>
        <source>printed in %1</source>
        <translation>printed in %1</translation>
    </message>
    <message>
        <source>2D コード（Data Matrix）付きのラベル</source>
        <translation>Labels with a 2D code (Data Matrix)</translation>
    </message>
</context>
<context>
    <name>PrintScreen</name>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>開始位置は %1〜%2 の番号です</source>
        <translation>The start position is a number from %1 to %2</translation>
    </message>
    <message>
        <source>印刷するラベルがありません。サンプルの文字を入れてください</source>
        <translation>No labels to print. Enter the sample texts</translation>
    </message>
    <message>
        <source>文字の色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>背景の色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Rainbow</source>
        <translation>Rainbow</translation>
    </message>
    <message>
        <source>枠</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>2D コード</source>
        <translation>2D code</translation>
    </message>
    <message>
        <source>ラベルの地の色を順に変えて印刷します</source>
        <translation>Prints the labels with background colours in turn</translation>
    </message>
    <message>
        <source>見本のラベルにだけ枠を付けます。印刷はされません</source>
        <translation>Frames the sample label only. The frame is not printed</translation>
    </message>
    <message>
        <source>ラベルの中央に、文字と同じ内容の Data Matrix コードを印刷します</source>
        <translation>Prints a Data Matrix code with the same content as the text in the middle of each label</translation>
    </message>
    <message>
        <source>枚目</source>
        <translation>Sheet</translation>
    </message>
</context>
<context>
    <name>RegistrySetup</name>
    <message>
        <source>%1: registry_timeout is a number of seconds from 1 to 600, not &apos;%2&apos;</source>
        <translation>%1: registry_timeout is a number of seconds from 1 to 600, not &apos;%2&apos;</translation>
    </message>
</context>
<context>
    <name>RegistryTarget</name>
    <message>
        <source>the registry setting is empty</source>
        <translation>the registry setting is empty</translation>
    </message>
    <message>
        <source>not a PostgreSQL address: %1</source>
        <translation>not a PostgreSQL address: %1</translation>
    </message>
    <message>
        <source>a password does not belong in the registry setting: keep it in ~/.pgpass</source>
        <translation>a password does not belong in the registry setting: keep it in ~/.pgpass</translation>
    </message>
    <message>
        <source>the PostgreSQL address names no database: %1</source>
        <translation>the PostgreSQL address names no database: %1</translation>
    </message>
    <message>
        <source>unknown kind of registry: %1 (postgresql:// or a file)</source>
        <translation>unknown kind of registry: %1 (postgresql:// or a file)</translation>
    </message>
    <message>
        <source>the registry setting names no file</source>
        <translation>the registry setting names no file</translation>
    </message>
    <message>
        <source>the registry setting&apos;s %1 cannot be &apos;%2&apos;</source>
        <translation>the registry setting&apos;s %1 cannot be &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the registry setting names %1 twice</source>
        <translation>the registry setting names %1 twice</translation>
    </message>
    <message>
        <source>the registry setting&apos;s option %1 is not one Rondelmaker passes on (sslmode, sslrootcert, sslcert, sslkey, connect_timeout, application_name, host, port)</source>
        <translation>the registry setting&apos;s option %1 is not one Rondelmaker passes on (sslmode, sslrootcert, sslcert, sslkey, connect_timeout, application_name, host, port)</translation>
    </message>
</context>
<context>
    <name>Reprint</name>
    <message>
        <source>ジョブ %1 にそのラベルはありません。</source>
        <translation>Job %1 has no such label.</translation>
    </message>
</context>
<context>
    <name>ReprintDialog</name>
    <message>
        <source>再印刷: ジョブ %1</source>
        <translation>Reprint: job %1</translation>
    </message>
    <message numerus="yes">
        <source>すべてのラベル（%n 枚）</source>
        <translation>
            <numerusform>All labels (%n)</numerusform>
            <numerusform>All labels (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>最初のサンプル</source>
        <translation>First sample</translation>
    </message>
    <message>
        <source>最後のサンプル</source>
        <translation>Last sample</translation>
    </message>
    <message>
        <source>選んだラベル</source>
        <translation>Chosen labels</translation>
    </message>
    <message>
        <source>ジョブのラベル</source>
        <translation>Labels of the job</translation>
    </message>
    <message>
        <source>開始位置</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>ラベルを選んでください</source>
        <translation>Choose labels</translation>
    </message>
    <message numerus="yes">
        <source>%n 枚: %1</source>
        <translation>
            <numerusform>%n label: %1</numerusform>
            <numerusform>%n labels: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReservedJobs</name>
    <message>
        <source>ジョブ %1 は印刷済みと記録されています。</source>
        <translation>Job %1 is recorded as printed.</translation>
    </message>
    <message>
        <source>ジョブ %1（%2、%3～%4、%5 枚）は印刷されたかどうか確かめられていません。</source>
        <translation>Job %1 (%2, %3 to %4, %5 labels) is not known to have printed.</translation>
    </message>
</context>
<context>
    <name>RunFiles</name>
    <message>
        <source>別の Rondelmaker（%1、プロセス %2）が印刷中です。しばらくしてからもう一度試してください。</source>
        <translation>Another Rondelmaker (%1, process %2) is printing. Please try again in a moment.</translation>
    </message>
</context>
<context>
    <name>SampleLabel</name>
    <message>
        <source>見本 %1 %2</source>
        <translation>Sample %1 %2</translation>
    </message>
</context>
<context>
    <name>Server</name>
    <message>
        <source>トークンはアドレスではなく Authorization: Bearer ヘッダーで送ってください。</source>
        <translation>Send the token in the Authorization: Bearer header, never in the address.</translation>
    </message>
    <message>
        <source>有効なトークンがありません（Authorization: Bearer TOKEN）。</source>
        <translation>No valid token (Authorization: Bearer TOKEN).</translation>
    </message>
    <message>
        <source>アドレスのパスが正しくありません。</source>
        <translation>The path of the address is not valid.</translation>
    </message>
    <message>
        <source>トークンがないあいだは、このコンピューター（localhost）宛てのリクエストにだけ答えます。</source>
        <translation>Without tokens the service answers only requests addressed to this computer (localhost).</translation>
    </message>
    <message>
        <source>そのアドレスはありません。</source>
        <translation>There is no such address.</translation>
    </message>
    <message>
        <source>このアドレスは %1 を受け付けません。</source>
        <translation>This address does not take %1.</translation>
    </message>
    <message>
        <source>ジョブ番号「%1」が正しくありません。</source>
        <translation>&quot;%1&quot; is not a job number.</translation>
    </message>
    <message>
        <source>クエリの「%1」が正しくありません。</source>
        <translation>The query&apos;s &quot;%1&quot; is not valid.</translation>
    </message>
    <message>
        <source>クエリの「%1」という項目はありません。</source>
        <translation>The query has no field &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>本文は JSON です（Content-Type: application/json）。</source>
        <translation>The body is JSON (Content-Type: application/json).</translation>
    </message>
    <message>
        <source>リクエストが時間内に届きませんでした（%1 秒）。</source>
        <translation>The request did not arrive in time (%1 s).</translation>
    </message>
    <message>
        <source>接続が多すぎます。しばらくしてからもう一度お試しください。</source>
        <translation>Too many connections. Please try again in a moment.</translation>
    </message>
    <message>
        <source>ラベル台帳を使えません。
%1</source>
        <translation>The label registry cannot be used.
%1</translation>
    </message>
    <message>
        <source>ラベル台帳に接続できません。
%1</source>
        <translation>The label registry cannot be reached.
%1</translation>
    </message>
    <message>
        <source>「%1」にラベルに印刷できない文字があります。</source>
        <translation>&quot;%1&quot; holds a character a label cannot print.</translation>
    </message>
    <message>
        <source>「%1」は %2 バイトまでです（%3 バイトあります。全角文字は 2 バイトです）。</source>
        <translation>&quot;%1&quot; takes at most %2 bytes (it has %3; a full-width character takes 2).</translation>
    </message>
    <message>
        <source>「%1」は %2 個までです（%3 個あります）。</source>
        <translation>&quot;%1&quot; takes at most %2 (it has %3).</translation>
    </message>
    <message>
        <source>「%1」が空です。</source>
        <translation>&quot;%1&quot; is empty.</translation>
    </message>
    <message>
        <source>「%1」は &quot;%2&quot; です。</source>
        <translation>&quot;%1&quot; is &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>タイプ８の行は２行です（「%1」）。</source>
        <translation>Type 8 has two lines (&quot;%1&quot;).</translation>
    </message>
    <message>
        <source>「output」は &quot;pdf&quot; だけです。</source>
        <translation>&quot;output&quot; can only be &quot;pdf&quot;.</translation>
    </message>
    <message>
        <source>「printer」と「output」はどちらか一方です。</source>
        <translation>&quot;printer&quot; and &quot;output&quot; exclude each other.</translation>
    </message>
    <message>
        <source>「samples」はサンプルの範囲です（&quot;3-4&quot;、&quot;5&quot;）。</source>
        <translation>&quot;samples&quot; is a range of samples (&quot;3-4&quot;, &quot;5&quot;).</translation>
    </message>
    <message>
        <source>タイプ %1 は自由テキスト１つに１枚です（「freeTexts」）。</source>
        <translation>Type %1 prints one label per free text (&quot;freeTexts&quot;).</translation>
    </message>
    <message>
        <source>タイプ %1 の番号は 0～%2 です。</source>
        <translation>Type %1 numbers from 0 to %2.</translation>
    </message>
    <message>
        <source>タイプ %1 に番号はありません。</source>
        <translation>Type %1 has no running number.</translation>
    </message>
    <message>
        <source>自由テキストはタイプ 9～12 のものです。</source>
        <translation>Free texts are for types 9 to 12.</translation>
    </message>
    <message>
        <source>タイプ %1 には自由テキストが要ります。</source>
        <translation>Type %1 needs free texts.</translation>
    </message>
    <message>
        <source>「code」は &quot;datamatrix&quot; か &quot;none&quot; です。</source>
        <translation>&quot;code&quot; is &quot;datamatrix&quot; or &quot;none&quot;.</translation>
    </message>
    <message>
        <source>ラベルは合計で１２００枚までです（%1 枚）。</source>
        <translation>A job prints at most 1200 labels (%1).</translation>
    </message>
    <message>
        <source>「design」がありません。</source>
        <translation>&quot;design&quot; is missing.</translation>
    </message>
    <message>
        <source>「samples」と「labels」はどちらか一方です。</source>
        <translation>Give either &quot;samples&quot; or &quot;labels&quot;, not both.</translation>
    </message>
    <message>
        <source>「labels」が空です。</source>
        <translation>&quot;labels&quot; is empty.</translation>
    </message>
    <message>
        <source>「since」は日付（2026-04-01）か日時（2026-04-01T09:00:00+09:00）です。</source>
        <translation>&quot;since&quot; is a date (2026-04-01) or a time (2026-04-01T09:00:00+09:00).</translation>
    </message>
    <message>
        <source>「type」は 1～12 です。</source>
        <translation>&quot;type&quot; is 1 to 12.</translation>
    </message>
    <message>
        <source>「limit」は 1～%1 です。</source>
        <translation>&quot;limit&quot; is 1 to %1.</translation>
    </message>
    <message>
        <source>ラベル数オーバー（３００以上）です。記録は作れません。</source>
        <translation>Too many labels (300 or more): no record can be made.</translation>
    </message>
    <message>
        <source>タイプ %1 のラベルには表がありません。</source>
        <translation>Type %1 labels have no spreadsheet.</translation>
    </message>
    <message>
        <source>「printed」（true か false）がありません。</source>
        <translation>&quot;printed&quot; (true or false) is missing.</translation>
    </message>
    <message>
        <source>ジョブ %1 は印刷済みと記録されています。</source>
        <translation>Job %1 is recorded as printed.</translation>
    </message>
    <message>
        <source>ジョブ %1 は別のステーション（%2、%3）のものです。そちらで答えてください。</source>
        <translation>Job %1 belongs to another station (%2, %3). Answer for it there.</translation>
    </message>
    <message>
        <source>「label」にラベルの文字（64 文字まで）を入れてください。</source>
        <translation>Give the label&apos;s text (up to 64 characters) in &quot;label&quot;.</translation>
    </message>
    <message>
        <source>「page」はシートの番号です。</source>
        <translation>&quot;page&quot; is the number of a sheet.</translation>
    </message>
    <message>
        <source>「dpi」は %1～%2 です。</source>
        <translation>&quot;dpi&quot; is %1 to %2.</translation>
    </message>
    <message>
        <source>このジョブのシートは %1 枚です。</source>
        <translation>This job has %1 sheets.</translation>
    </message>
    <message>
        <source>プレビューを描けませんでした。</source>
        <translation>The preview could not be drawn.</translation>
    </message>
    <message>
        <source>「output」は &quot;pdf&quot; だけで、「printer」とは一緒に使えません。</source>
        <translation>&quot;output&quot; can only be &quot;pdf&quot;, and not together with &quot;printer&quot;.</translation>
    </message>
    <message>
        <source>本文が JSON ではありません（%1 バイト目: %2）。</source>
        <translation>The body is not JSON (byte %1: %2).</translation>
    </message>
    <message>
        <source>本文は JSON のオブジェクト { … } です。</source>
        <translation>The body is a JSON object { … }.</translation>
    </message>
    <message>
        <source>「%1」が二度あります。</source>
        <translation>&quot;%1&quot; is given twice.</translation>
    </message>
    <message>
        <source>「%1」に制御文字があります。</source>
        <translation>&quot;%1&quot; holds a control character.</translation>
    </message>
    <message>
        <source>「%1」という項目はありません。</source>
        <translation>There is no field &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>「%1」は true か false です。</source>
        <translation>&quot;%1&quot; is true or false.</translation>
    </message>
    <message>
        <source>「%1」は %2～%3 の整数です。</source>
        <translation>&quot;%1&quot; is a whole number from %2 to %3.</translation>
    </message>
    <message>
        <source>「%1」は %2 文字までの文字列です。</source>
        <translation>&quot;%1&quot; is a text of up to %2 characters.</translation>
    </message>
    <message>
        <source>「%1」は %2 個までの文字列の配列です。</source>
        <translation>&quot;%1&quot; is an array of up to %2 texts.</translation>
    </message>
    <message>
        <source>「%1」はオブジェクトです。</source>
        <translation>&quot;%1&quot; is an object.</translation>
    </message>
    <message>
        <source>リクエストのアドレスが長すぎます。</source>
        <translation>The request&apos;s address is too long.</translation>
    </message>
    <message>
        <source>リクエストのヘッダーが大きすぎます。</source>
        <translation>The request&apos;s header is too large.</translation>
    </message>
    <message>
        <source>リクエスト行が正しくありません。</source>
        <translation>The request line is not valid.</translation>
    </message>
    <message>
        <source>Content-Length が正しくありません。</source>
        <translation>Content-Length is not valid.</translation>
    </message>
    <message>
        <source>Host が二つあります。</source>
        <translation>The request names two hosts.</translation>
    </message>
    <message>
        <source>本文の長さ（Content-Length）が必要です。チャンク転送は受け付けません。</source>
        <translation>The body&apos;s length (Content-Length) is needed; chunked bodies are not taken.</translation>
    </message>
    <message>
        <source>ヘッダー行が正しくありません。</source>
        <translation>A header line is not valid.</translation>
    </message>
    <message>
        <source>本文が大きすぎます（%1 バイト）。1 MiB（1048576 バイト）までです。</source>
        <translation>The body is too large (%1 bytes). It may be 1 MiB (1048576 bytes) at most.</translation>
    </message>
    <message>
        <source>既定のプリンターがありません。</source>
        <translation>There is no default printer.</translation>
    </message>
    <message>
        <source>プリンター「%1」はありません。</source>
        <translation>There is no printer &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>シート「%1」はありません（GET /api/v1/sheets）。</source>
        <translation>There is no sheet &quot;%1&quot; (GET /api/v1/sheets).</translation>
    </message>
    <message>
        <source>このステーション（%1）はほかのジョブを印刷中です。しばらくしてからもう一度試してください。</source>
        <translation>This station (%1) is printing another job. Try again in a moment.</translation>
    </message>
    <message>
        <source>このジョブのラベルには、前に印刷したものがあります。何も印刷していません。もう一度印刷するには &quot;allowDuplicates&quot;: true を付けて送ってください。
%1</source>
        <translation>Some labels of this job were printed before. Nothing was printed. To print them again, send the job again with &quot;allowDuplicates&quot;: true.
%1</translation>
    </message>
</context>
<context>
    <name>ServerCommand</name>
    <message>
        <source>cannot make the state folder %1</source>
        <translation>cannot make the state folder %1</translation>
    </message>
    <message>
        <source>token %1 added; it is shown this once, keep it safe</source>
        <translation>token %1 added; it is shown this once, keep it safe</translation>
    </message>
    <message>
        <source>token %1 removed; it is refused from now on</source>
        <translation>token %1 removed; it is refused from now on</translation>
    </message>
    <message>
        <source>this Qt has no TLS support</source>
        <translation>this Qt has no TLS support</translation>
    </message>
    <message>
        <source>cannot read the certificate %1 or the key %2 (PEM)</source>
        <translation>cannot read the certificate %1 or the key %2 (PEM)</translation>
    </message>
    <message>
        <source>stopping</source>
        <translation>stopping</translation>
    </message>
    <message>
        <source>the registry %1 cannot be used now (%2); requests that need it are answered 503 until it can</source>
        <translation>the registry %1 cannot be used now (%2); requests that need it are answered 503 until it can</translation>
    </message>
    <message>
        <source>listening on %1 reaches beyond this computer: add a token first (rondelmaker-server token add NAME); every request must then bring it</source>
        <translation>listening on %1 reaches beyond this computer: add a token first (rondelmaker-server token add NAME); every request must then bring it</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>cannot listen on %1: %2</translation>
    </message>
    <message>
        <source>listening on %1://%2 (registry %3)</source>
        <translation>listening on %1://%2 (registry %3)</translation>
    </message>
    <message>
        <source>
(rondelmaker-server --help shows the usage)</source>
        <translation>
(rondelmaker-server --help shows the usage)</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>unknown command: %1</source>
        <translation>unknown command: %1</translation>
    </message>
    <message>
        <source>token list takes no name</source>
        <translation>token list takes no name</translation>
    </message>
    <message>
        <source>token %1 needs one NAME</source>
        <translation>token %1 needs one NAME</translation>
    </message>
    <message>
        <source>%1: not HOST:PORT: %2</source>
        <translation>%1: not HOST:PORT: %2</translation>
    </message>
    <message>
        <source>--tls-cert and --tls-key go together</source>
        <translation>--tls-cert and --tls-key go together</translation>
    </message>
    <message>
        <source>%1: request-timeout is 1 to 300 seconds, not %2</source>
        <translation>%1: request-timeout is 1 to 300 seconds, not %2</translation>
    </message>
    <message>
        <source>Usage:
  rondelmaker-server [options]         serve the HTTP API (see docs/api.md)
  rondelmaker-server token add NAME    make a token and print it once
  rondelmaker-server token list        the tokens&apos; names and when they were made
  rondelmaker-server token remove NAME the token stops working at once
  rondelmaker-server --help | --version

Options:
  --state-dir DIR      the service&apos;s folder: tokens, a folder per print queue
                       and per token (default: $STATE_DIRECTORY, else
                       /var/lib/rondelmaker)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf&apos;s registry=, else
                       registry.sqlite in the state folder)
  --listen HOST:PORT   address to listen on (default 127.0.0.1:8750). Beyond
                       loopback a token must exist, and every request needs it.
  --tls-cert FILE --tls-key FILE
                       serve HTTPS with this certificate and key (PEM)

rondelmaker.conf in the state folder, then /etc/rondelmaker/rondelmaker.conf,
may set listen=, tls-cert=, tls-key=, cors-origin= (origins a browser page may
call from) and request-timeout= (seconds).
</source>
        <translation>Usage:
  rondelmaker-server [options]         serve the HTTP API (see docs/api.md)
  rondelmaker-server token add NAME    make a token and print it once
  rondelmaker-server token list        the tokens&apos; names and when they were made
  rondelmaker-server token remove NAME the token stops working at once
  rondelmaker-server --help | --version

Options:
  --state-dir DIR      the service&apos;s folder: tokens, a folder per print queue
                       and per token (default: $STATE_DIRECTORY, else
                       /var/lib/rondelmaker)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf&apos;s registry=, else
                       registry.sqlite in the state folder)
  --listen HOST:PORT   address to listen on (default 127.0.0.1:8750). Beyond
                       loopback a token must exist, and every request needs it.
  --tls-cert FILE --tls-key FILE
                       serve HTTPS with this certificate and key (PEM)

rondelmaker.conf in the state folder, then /etc/rondelmaker/rondelmaker.conf,
may set listen=, tls-cert=, tls-key=, cors-origin= (origins a browser page may
call from) and request-timeout= (seconds).
</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>内蔵シート（10 × 15）</source>
        <translation>Built-in sheet (10 × 15)</translation>
    </message>
    <message>
        <source>「name」が空です。</source>
        <translation>&quot;name&quot; is empty.</translation>
    </message>
    <message>
        <source>「paper」か「diameter」が数ではありません。</source>
        <translation>&quot;paper&quot; or &quot;diameter&quot; is not a number.</translation>
    </message>
    <message>
        <source>「diameter」の値 %1 mm は %2～%3 mm の範囲外です。</source>
        <translation>The value %1 mm of &quot;diameter&quot; is outside %2 to %3 mm.</translation>
    </message>
    <message>
        <source>「paper」の %1 × %2 mm は A3（297 × 420 mm）より大きい用紙です。</source>
        <translation>The &quot;paper&quot; of %1 × %2 mm is larger than A3 (297 × 420 mm).</translation>
    </message>
    <message>
        <source>円の並びがありません。</source>
        <translation>The sheet has no grid of discs.</translation>
    </message>
    <message>
        <source>「%1」と「%2」は 1 以上でなければなりません。</source>
        <translation>&quot;%1&quot; and &quot;%2&quot; must be 1 or more.</translation>
    </message>
    <message>
        <source>位置が %1 個あります（「%2」×「%3」）。%4 個までです。</source>
        <translation>The sheet has %1 positions (&quot;%2&quot; × &quot;%3&quot;); at most %4 are allowed.</translation>
    </message>
    <message>
        <source>「%1」か「%2」が数ではありません。</source>
        <translation>&quot;%1&quot; or &quot;%2&quot; is not a number.</translation>
    </message>
    <message>
        <source>「%1」の値 %2 mm が直径 %3 mm より小さく、円が重なります。</source>
        <translation>The value %2 mm of &quot;%1&quot; is smaller than the diameter of %3 mm: the discs overlap.</translation>
    </message>
    <message>
        <source>位置 %1 の円が用紙の外に出ます（「%2」）。</source>
        <translation>The disc at position %1 lies off the paper (&quot;%2&quot;).</translation>
    </message>
    <message>
        <source>位置 %1 の円が用紙の幅（「paper.width」%2 mm）の外に出ます。</source>
        <translation>The disc at position %1 lies beyond the paper&apos;s width (&quot;paper.width&quot;, %2 mm).</translation>
    </message>
    <message>
        <source>位置 %1 の円が用紙の高さ（「paper.height」%2 mm）の外に出ます。</source>
        <translation>The disc at position %1 lies beyond the paper&apos;s height (&quot;paper.height&quot;, %2 mm).</translation>
    </message>
</context>
<context>
    <name>SheetCatalogue</name>
    <message>
        <source>シート「%1」はありません。</source>
        <translation>There is no sheet &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>フォルダ %1 を作れません。</source>
        <translation>Cannot create the folder %1.</translation>
    </message>
</context>
<context>
    <name>SheetChooser</name>
    <message>
        <source>ラベルシート</source>
        <translation>Label sheet</translation>
    </message>
    <message>
        <source>新しいシート…</source>
        <translation>New sheet…</translation>
    </message>
    <message>
        <source>%1
%2（%3 枚）</source>
        <translation>%1
%2 (%3 labels)</translation>
    </message>
</context>
<context>
    <name>SheetFile</name>
    <message>
        <source>内蔵シートは印刷可能範囲から測るため、ファイルにできません。</source>
        <translation>The built-in sheet is measured from the printable area and cannot be saved as a file.</translation>
    </message>
</context>
<context>
    <name>SheetMap</name>
    <message>
        <source>シートの配置図</source>
        <translation>Sheet map</translation>
    </message>
    <message>
        <source>丸をクリックするか矢印キーで開始位置を選びます</source>
        <translation>Click a circle or use the arrow keys to choose the start position</translation>
    </message>
    <message>
        <source>開始位置</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>位置 %1</source>
        <translation>Position %1</translation>
    </message>
    <message>
        <source>使用済み</source>
        <translation>Used</translation>
    </message>
    <message>
        <source>このジョブ</source>
        <translation>This job</translation>
    </message>
    <message>
        <source>空き</source>
        <translation>Free</translation>
    </message>
</context>
<context>
    <name>SpreadsheetExport</name>
    <message>
        <source>内容&#x3000;(%1  １１ｍφ円形ラベル)</source>
        <translation>Notes (%1  11 mm round labels)</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>2D コード（Data Matrix）付き</source>
        <translation>With 2D code (Data Matrix)</translation>
    </message>
</context>
<context>
    <name>SqlRegistry</name>
    <message>
        <source>フォルダーがありません: %1</source>
        <translation>The folder does not exist: %1</translation>
    </message>
    <message>
        <source>ラベル台帳ではないデータベースです（表 registry_meta がありません）。</source>
        <translation>The database is no label registry (it has no table registry_meta).</translation>
    </message>
    <message>
        <source>ラベル台帳がまだ作られていません。</source>
        <translation>The label registry has not been created yet.</translation>
    </message>
    <message>
        <source>台帳の版がありません。</source>
        <translation>The registry has no version.</translation>
    </message>
    <message>
        <source>台帳の版が読めません。</source>
        <translation>The registry&apos;s version cannot be read.</translation>
    </message>
    <message>
        <source>新しい版（%1）の台帳です。このプログラムは版 %2 までを読めます。</source>
        <translation>The registry is of a newer version (%1). This program reads versions up to %2.</translation>
    </message>
    <message>
        <source>番号が進みました。</source>
        <translation>The numbers moved on.</translation>
    </message>
    <message>
        <source>ジョブ %1 は台帳にありません。</source>
        <translation>Job %1 is not in the registry.</translation>
    </message>
    <message>
        <source>ジョブ %1 の記録が読めません: %2</source>
        <translation>The record of job %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Qt SQL driver %1 is not installed</source>
        <translation>Qt SQL driver %1 is not installed</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>読み取り専用のため、書き込めません。</source>
        <translation>It is read-only and cannot be written.</translation>
    </message>
    <message>
        <source>ほかのプログラムが使っています（ロックされています）。</source>
        <translation>Another program is using it (it is locked).</translation>
    </message>
    <message>
        <source>壊れているか、ラベル台帳ではありません。</source>
        <translation>It is damaged, or it is not a label registry.</translation>
    </message>
    <message>
        <source>ラベル台帳を読み書きできません。よくある原因は、ディスクがいっぱい、読み取り専用、ほかのプログラムによるロック、ファイルの破損です。</source>
        <translation>The label registry cannot be read or written. The usual causes are a full disk, a read-only disk, a lock held by another program, or a damaged file.</translation>
    </message>
    <message>
        <source>ラベル台帳が %1 秒のうちに答えませんでした。</source>
        <translation>The label registry did not answer within %1 seconds.</translation>
    </message>
    <message>
        <source>詳細: %1</source>
        <translation>Details: %1</translation>
    </message>
    <message>
        <source>ラベル台帳にタイプ %1 の番号がなく、ジョブ %2 から求めることもできません: %3</source>
        <translation>The label registry holds no numbering for type %1, and it cannot be worked out from job %2: %3</translation>
    </message>
    <message>
        <source>ラベル台帳にタイプ %1 の番号の記録がありませんでした。ジョブの記録から求め直しました。</source>
        <translation>The label registry held no record of where type %1&apos;s numbering goes on. It was worked out again from the jobs.</translation>
    </message>
    <message>
        <source>ラベル台帳にタイプ %1 の番号を記録できません。</source>
        <translation>The label registry cannot record the numbering of type %1.</translation>
    </message>
</context>
<context>
    <name>StartFile</name>
    <message>
        <source>スタートファイルを読み込めません。
%1
%2</source>
        <translation>The start file cannot be read.
%1
%2</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>スタートファイルが大きすぎます（%1 バイトまで）。
%2</source>
        <translation>The start file is too large (at most %1 bytes).
%2</translation>
    </message>
    <message>
        <source>スタートファイルの1行目が正しくありません: &apos;%1&apos;
（例: 10,10,1 … 横オフセット,縦オフセット,開始位置）</source>
        <translation>The first line of the start file is not right: &apos;%1&apos;
(e.g. 10,10,1 … horizontal offset,vertical offset,start position)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>スタートファイルを保存できません。
%1
%2</source>
        <translation>The start file cannot be saved.
%1
%2</translation>
    </message>
    <message>
        <source>スタートファイルの値 &apos;%1&apos; が範囲外です（オフセットは 0～20、開始位置は 0～%2）。</source>
        <translation>The start file&apos;s value &apos;%1&apos; is out of range (offsets 0 to 20, start position 0 to %2).</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>「%1」が名前と値の2つの文字列ではありません。</source>
        <translation>&quot;%1&quot; is not two texts, a name and a value.</translation>
    </message>
</context>
<context>
    <name>StateLocation</name>
    <message>
        <source>設定フォルダーを作れません。
%1</source>
        <translation>The configuration folder cannot be created.
%1</translation>
    </message>
    <message>
        <source>スタートファイルを作れません。
%1</source>
        <translation>The start file cannot be created.
%1</translation>
    </message>
    <message>
        <source>スタートファイルと状態は設定フォルダーに保存します。</source>
        <translation>The start file and the state are kept in the configuration folder.</translation>
    </message>
    <message>
        <source>%1
（%2 から作成しました）</source>
        <translation>%1
(made from %2)</translation>
    </message>
</context>
<context>
    <name>WebPage</name>
    <message>
        <source>デザイン</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>ラベルの種類</source>
        <translation>Label type</translation>
    </message>
    <message>
        <source>上の文字</source>
        <translation>Upper text</translation>
    </message>
    <message>
        <source>上の行</source>
        <translation>Upper line</translation>
    </message>
    <message>
        <source>下の行</source>
        <translation>Lower line</translation>
    </message>
    <message>
        <source>英字</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>英字 2</source>
        <translation>Letter 2</translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>First number</translation>
    </message>
    <message>
        <source>続き</source>
        <translation>next in line</translation>
    </message>
    <message>
        <source>空のときは、台帳の続きの番号から印刷します。</source>
        <translation>Left empty, the numbers go on where the registry left them.</translation>
    </message>
    <message>
        <source>日</source>
        <translation>days</translation>
    </message>
    <message>
        <source>サンプルの文字</source>
        <translation>Free texts</translation>
    </message>
    <message>
        <source>1行に1サンプル。表計算ソフトの列を貼り付けられます。</source>
        <translation>One sample per line. A column copied from a spreadsheet can be pasted.</translation>
    </message>
    <message>
        <source>見た目</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>指定の色</source>
        <translation>Custom colour</translation>
    </message>
    <message>
        <source>シートと印刷</source>
        <translation>Sheet and printing</translation>
    </message>
    <message>
        <source>シート</source>
        <translation>Sheet</translation>
    </message>
    <message>
        <source>開始位置</source>
        <translation>Start position</translation>
    </message>
    <message>
        <source>使用済み</source>
        <translation>Used</translation>
    </message>
    <message>
        <source>このジョブ</source>
        <translation>This job</translation>
    </message>
    <message>
        <source>空き</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>印刷するラベル</source>
        <translation>Labels to print</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>ラベルを探す</source>
        <translation>Find a label</translation>
    </message>
    <message>
        <source>すべてのジョブ</source>
        <translation>All jobs</translation>
    </message>
    <message>
        <source>さらに表示</source>
        <translation>Show more</translation>
    </message>
    <message>
        <source>このデザインを使う</source>
        <translation>Use this design</translation>
    </message>
    <message>
        <source>トークン</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>接続</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>再印刷するラベル</source>
        <translation>Labels to reprint</translation>
    </message>
    <message>
        <source>サンプルの範囲</source>
        <translation>A range of samples</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ジョブ %1: %2～%3（%4 枚）</source>
        <translation>Job %1: %2 to %3 (%4 labels)</translation>
    </message>
    <message>
        <source>PDF を開く</source>
        <translation>Open the PDF</translation>
    </message>
    <message>
        <source>PDF を保存</source>
        <translation>Save the PDF</translation>
    </message>
    <message>
        <source>PDF は実際のサイズ（100 %）で印刷してください。ページに合わせて拡大・縮小すると、ラベルの位置がずれます。</source>
        <translation>Print the PDF at actual size (100 %). Scaled to fit the page, the labels miss their positions.</translation>
    </message>
    <message>
        <source>Type %1</source>
        <translation>Type %1</translation>
    </message>
    <message>
        <source>英字 1</source>
        <translation>Letter 1</translation>
    </message>
    <message>
        <source>%1 サンプル</source>
        <translation>%1 samples</translation>
    </message>
    <message>
        <source>既定</source>
        <translation>default</translation>
    </message>
    <message>
        <source>受け付けていません</source>
        <translation>not accepting jobs</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>プリンターのシート</source>
        <translation>The printer&apos;s sheet</translation>
    </message>
    <message>
        <source>%1（%2 × %3、%4 mm）</source>
        <translation>%1 (%2 × %3, %4 mm)</translation>
    </message>
    <message>
        <source>位置 %1（%2）</source>
        <translation>Position %1 (%2)</translation>
    </message>
    <message>
        <source>%1 / %2 枚目</source>
        <translation>Sheet %1 of %2</translation>
    </message>
    <message>
        <source>サービスの応答がありません。</source>
        <translation>The service does not answer.</translation>
    </message>
    <message>
        <source>サービスに接続できません。</source>
        <translation>The service cannot be reached.</translation>
    </message>
    <message>
        <source>トークンが違います。正しいトークンを入れてください。</source>
        <translation>The token is wrong. Please enter the right token.</translation>
    </message>
    <message>
        <source>このサービスを使うにはトークンが要ります。管理者から受け取ったトークンを入れてください。</source>
        <translation>This service needs a token. Please enter the token your administrator gave you.</translation>
    </message>
    <message>
        <source>直すと、プレビューが出ます。</source>
        <translation>Once that is corrected, the preview appears.</translation>
    </message>
    <message>
        <source>ラベル %1 枚・シート %2 枚</source>
        <translation>%1 labels · sheets: %2</translation>
    </message>
    <message>
        <source>印刷中…</source>
        <translation>Printing…</translation>
    </message>
    <message>
        <source>ジョブ %1 を印刷しました（%2 枚）。</source>
        <translation>Job %1 printed (%2 labels).</translation>
    </message>
    <message>
        <source>ジョブ %1 の PDF を作りました（%2 枚）。</source>
        <translation>Job %1 made as a PDF (%2 labels).</translation>
    </message>
    <message>
        <source>次の開始位置: %1</source>
        <translation>Next start position: %1</translation>
    </message>
    <message>
        <source>%1 枚目のプレビュー</source>
        <translation>Preview of sheet %1</translation>
    </message>
    <message>
        <source>%1 件のジョブ</source>
        <translation>%1 jobs</translation>
    </message>
    <message>
        <source>「%1」を印刷したジョブ: %2 件</source>
        <translation>Jobs that printed &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>ジョブ %1</source>
        <translation>Job %1</translation>
    </message>
    <message>
        <source>%1 枚</source>
        <translation>%1 labels</translation>
    </message>
    <message>
        <source>すべてのラベル（%1 枚）</source>
        <translation>All labels (%1)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>WindowJobs</name>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>sheet %1 of %2</source>
        <translation>sheet %1 of %2</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>このジョブには、すでに発行したラベルがあります。もう一度印刷しますか？</source>
        <translation>This job holds labels that were issued before. Print them again?</translation>
    </message>
    <message>
        <source>印刷しない</source>
        <translation>Do not print</translation>
    </message>
    <message>
        <source>もう一度印刷する</source>
        <translation>Print again</translation>
    </message>
    <message>
        <source>ラベル数オーバー（３００以上）です。プリントできません！</source>
        <translation>Too many labels (300 or more) for a record. It cannot be printed.</translation>
    </message>
    <message>
        <source>A4のコピー用紙をプリンターに入れてください。</source>
        <translation>Please put A4 copy paper into the printer.</translation>
    </message>
    <message>
        <source>Excel files (*.xls)</source>
        <translation>Excel files (*.xls)</translation>
    </message>
    <message>
        <source>同名のファイルがあります。重ねがきしますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
</context>
<context>
    <name>WindowRegistry</name>
    <message>
        <source>ラベル台帳の設定が使えません。番号付きのラベルは印刷できません。
%1</source>
        <translation>The label registry setting cannot be used. Numbered labels cannot be printed.
%1</translation>
    </message>
    <message>
        <source>ラベル台帳を使えません。使えるようになるまで印刷できません。</source>
        <translation>The label registry cannot be used. Nothing can be printed until it can.</translation>
    </message>
    <message>
        <source>ラベル台帳が壊れているか、台帳ではありません。そのまま残します。印刷する前に、どうするか選んでください。</source>
        <translation>The label registry is damaged or is no registry. It is left as it is. Choose what to do before printing.</translation>
    </message>
    <message>
        <source>別に保管して新しく始める</source>
        <translation>Keep it aside and start a new one</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <source>ラベル台帳を %1 として保管できませんでした。</source>
        <translation>The label registry could not be kept as %1.</translation>
    </message>
    <message>
        <source>ラベル台帳を保管する名前がありません。</source>
        <translation>There is no free name to keep the label registry under.</translation>
    </message>
    <message>
        <source>ラベル台帳を使えないため、印刷しません。
%1</source>
        <translation>Nothing is printed: the label registry cannot be used.
%1</translation>
    </message>
    <message>
        <source>ジョブ %1 は別のステーション（%2）のジョブです。そのステーションで答えてください。</source>
        <translation>Job %1 belongs to another station (%2). Answer for it there.</translation>
    </message>
    <message>
        <source>ラベル台帳: %1</source>
        <translation>Label registry: %1</translation>
    </message>
    <message>
        <source>ラベル台帳: 使えません</source>
        <translation>Label registry: not available</translation>
    </message>
    <message>
        <source>（接続できません）</source>
        <translation> (cannot connect)</translation>
    </message>
</context>
<context>
    <name>Xls::Workbook</name>
    <message>
        <source>no file name given</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>workbook too large</source>
        <translation>workbook too large</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
</TS>
