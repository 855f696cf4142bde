<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CliOptions</name>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプションです：%1</translation>
    </message>
    <message>
        <source>unknown option: --%1</source>
        <translation>不明なオプションです：--%1</translation>
    </message>
    <message>
        <source>language of the texts (default: Japanese when the message locale
is ja_JP, English otherwise)</source>
        <translation>表示の言語（既定値：メッセージのロケールがja_JPなら日本語、
それ以外は英語）</translation>
    </message>
    <message>
        <source>TCP port of the radio&apos;s update service (default 1111)</source>
        <translation>無線機の更新サービスのTCPポート（既定値：1111）</translation>
    </message>
    <message>
        <source>longest wait for the connection (default 3000)</source>
        <translation>接続を待つ最長時間（既定値：3000）</translation>
    </message>
    <message>
        <source>longest wait for each reply of the transfer (default 10000)</source>
        <translation>転送の各応答を待つ最長時間（既定値：10000）</translation>
    </message>
    <message>
        <source>longest wait while the radio programs (default 180000)</source>
        <translation>無線機の書き込みを待つ最長時間（既定値：180000）</translation>
    </message>
    <message>
        <source>no status lines and no progress; failures still go to stderr</source>
        <translation>状態の行も進捗も表示しない（失敗は標準エラー出力に出す）</translation>
    </message>
    <message>
        <source>radios from the file LIST (&quot;-&quot;: standard input), one address a line;
&apos;#&apos; starts a comment. May be given more than once; the lists
come before the addresses of the command line</source>
        <translation>無線機をファイルLIST（「-」は標準入力）から読む。1行に1アドレス、
「#」以降はコメント。何度でも指定でき、リストの無線機はコマンド
ラインのアドレスより前に並ぶ</translation>
    </message>
    <message>
        <source>a file, or - for standard input</source>
        <translation>ファイル、または標準入力を表す -</translation>
    </message>
    <message>
        <source>how many radios are updated at the same time, 1 to 256 (default 4)</source>
        <translation>同時に更新する無線機の台数（1から256まで、既定値：4）</translation>
    </message>
    <message>
        <source>JSON Lines on stdout instead of text, one object per event</source>
        <translation>テキストの代わりにJSON Linesを標準出力に出す（1イベントに
1オブジェクト）</translation>
    </message>
    <message>
        <source>no progress block on the terminal</source>
        <translation>端末に進捗ブロックを表示しない</translation>
    </message>
    <message>
        <source>update the first N radios of the list first; the others only when
every one of them was updated, whatever --max-failures says
(--waves N,100%)</source>
        <translation>リストの最初のN台を先に更新し、残りはそのすべてが更新された
ときにだけ更新する。--max-failuresの値にはよらない
（--waves N,100%と同じ）</translation>
    </message>
    <message>
        <source>start no further radio once N radios (or P% of them, rounded up)
have failed</source>
        <translation>N台（または全台のP%、端数は切り上げ）が失敗したら、それ以降は
無線機を開始しない</translation>
    </message>
    <message>
        <source>update the radios in waves, each a count or a share of all radios
(1,5,20%), the last repeating; a wave starts when the one before
has ended; without --max-failures a failed wave is the last</source>
        <translation>無線機をウェーブに分けて更新する。各ウェーブは台数か全台に対する
割合で指定し（1,5,20%）、最後の値を繰り返す。前のウェーブが
終わってから次が始まり、--max-failuresがなければ失敗したウェーブ
が最後になる</translation>
    </message>
    <message>
        <source>counts and shares in order, such as 1,5,20%</source>
        <translation>1,5,20%のように台数と割合を順に並べたもの</translation>
    </message>
    <message>
        <source>wait this long between two waves (default 0)</source>
        <translation>ウェーブの間に休止する秒数（既定値：0）</translation>
    </message>
    <message>
        <source>try a radio up to N more times, after 1 s, 2 s, 4 s ... (at most
30 s), when it failed before the program command was sent (default 0)</source>
        <translation>書き込みコマンドを送る前に失敗した無線機を、1 秒、2 秒、4 秒...
（最大 30 秒）おいて最大N回まで再試行する（既定値：0）</translation>
    </message>
    <message>
        <source>start no radio after this: 90s, 15m, 2h from now, or an RFC 3339
time; radios running go on to their end; a wave pause or a wait
to try again ends at it. Kept on the steady clock, which no time
service steps</source>
        <translation>この期限を過ぎたら無線機を開始しない。今から90s、15m、2h、または
RFC 3339の時刻で指定する。実行中の無線機は最後まで続け、ウェーブ
間の休止や再試行の待ちは期限で終わる。時刻合わせの影響を受けない
単調増加の時計で計る</translation>
    </message>
    <message>
        <source>90s, 15m, 2h up to a week, or an RFC 3339 time within a week such as 2026-12-08T18:30:00Z</source>
        <translation>1週間までの90s、15m、2h、または2026-12-08T18:30:00Zのような1週間以内のRFC 3339の時刻</translation>
    </message>
    <message>
        <source>print what the run would do (file, rules, waves, radios with their
address and port, limits) and exit; connects to nothing, refuses what
the run would refuse</source>
        <translation>実行の内容（ファイル、規則、ウェーブ、無線機とそのアドレスとポート、
上限）を表示して終了する。どこにも接続せず、実行なら拒否される
ものは拒否する</translation>
    </message>
    <message>
        <source>write the radios not updated (with --check: not reachable) to FILE
as a radio list, to run again with --radios FILE; written whole or
not at all, also when nothing was left to do; keeps the file&apos;s mode.
FILE may not be the firmware file, a list or the --log</source>
        <translation>更新されなかった無線機（--checkでは到達できなかった無線機）を再実行
リストとしてFILEに書く。--radios FILEで再実行できる。丸ごと書くか
何も書かないかのどちらかで、残りがなくても書き、ファイルのモードは
保つ。FILEにはファームウェアファイル、リスト、--logは指定できない</translation>
    </message>
    <message>
        <source>a file name</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>append one JSON record per radio to FILE: the workshop&apos;s books, each
record whole or not at all; not the firmware file, a list or
the --failed list</source>
        <translation>無線機ごとに1件のJSONの更新記録をFILEに追記する（作業の台帳）。
各記録は丸ごと書くか何も書かない。ファームウェアファイル、リスト、
--failedのリストは指定できない</translation>
    </message>
    <message>
        <source>check FILE (size, blocks, SHA-256) and that each radio accepts a
connection, up to 64 at once; sends nothing to any radio</source>
        <translation>FILE（サイズ、ブロック、SHA-256）と、各無線機が接続を受け付けるか
を確認する（同時に64台まで）。無線機には何も送らない</translation>
    </message>
    <message>
        <source>list the addresses of an IPv4 network (prefix 22 to 32) that accept
a connection on the update port; sends nothing. No FILE</source>
        <translation>IPv4ネットワーク（プレフィックス22から32）のうち、更新ポートで接続を
受け付けるアドレスを一覧表示する。何も送らない。FILEは指定しない</translation>
    </message>
    <message>
        <source>show this text and exit</source>
        <translation>このヘルプを表示して終了する</translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation>バージョンを表示して終了する</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1から%2まで</translation>
    </message>
    <message>
        <source>%1 to %2, or 1% to 100%</source>
        <translation>%1から%2まで、または1%から100%まで</translation>
    </message>
    <message>
        <source> or </source>
        <comment>between the words an option takes: en or ja</comment>
        <translation>|</translation>
    </message>
    <message>
        <source>bad value for --%1: &apos;%2&apos; (%3)</source>
        <translation>--%1の値が正しくありません：&apos;%2&apos;（%3）</translation>
    </message>
    <message>
        <source>--%1 takes no value</source>
        <translation>--%1には値を指定できません。</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1には値が必要です。</translation>
    </message>
    <message>
        <source>%1 takes no --%2</source>
        <translation>%1と--%2は一緒に指定できません。</translation>
    </message>
    <message>
        <source>--canary N is --waves N,100%: give one of them</source>
        <translation>--canary Nは--waves N,100%と同じです。どちらか一方を指定してください。</translation>
    </message>
    <message>
        <source>--wave-pause needs --waves or --canary</source>
        <translation>--wave-pauseには--wavesか--canaryが必要です。</translation>
    </message>
    <message>
        <source>unexpected argument: %1</source>
        <translation>余分な引数です：%1</translation>
    </message>
    <message>
        <source>--scan takes no --radios and no --check</source>
        <translation>--scanには--radiosも--checkも指定できません。</translation>
    </message>
    <message>
        <source>FILE and ADDRESS are required</source>
        <translation>FILEとADDRESSを指定してください。</translation>
    </message>
    <message>
        <source>FILE is required</source>
        <translation>FILEを指定してください。</translation>
    </message>
    <message>
        <source>Usage: zerlind-firm-update [OPTION]... FILE ADDRESS [ADDRESS]...
       zerlind-firm-update [OPTION]... --radios LIST FILE [ADDRESS]...
       zerlind-firm-update [OPTION]... --scan NETWORK/PREFIX
Updates the main-processor firmware of a Zerlind radio: reads FILE whole, connects to ADDRESS
(four decimal parts such as 192.168.1.50, a host name, or [IPv6]; ADDRESS:PORT for a port of its
own) on TCP port 1111, sends the image in blocks of 1024 bytes and tells the radio to program it.
With several radios, up to --jobs of them are updated at the same time, each from the same copy
of FILE; host names are looked up once, before anything is sent.

</source>
        <translation>使い方：zerlind-firm-update [OPTION]... FILE ADDRESS [ADDRESS]...
        zerlind-firm-update [OPTION]... --radios LIST FILE [ADDRESS]...
        zerlind-firm-update [OPTION]... --scan NETWORK/PREFIX
Zerlind無線機のメインプロセッサーのファームウェアを更新する。FILEを丸ごと読み、ADDRESS
（192.168.1.50のような10進数4つの部分、ホスト名、または[IPv6]。ポートを個別に指定するには
ADDRESS:PORT）のTCPポート1111に接続し、イメージを1024バイトのブロックで送って、無線機に
書き込みを指示する。複数の無線機では最大--jobs台を同時に更新し、どれにも同じFILEの写しを
送る。ホスト名は何かを送る前に一度だけ解決する。

</translation>
    </message>
    <message>
        <source>
Status lines go to stdout, the failure text to stderr; progress goes to stderr when it is a
terminal. With several radios each line starts with &quot;ADDRESS: &quot; and a table of every radio&apos;s
outcome ends the output. A radio named twice is refused before anything is sent. Ctrl-C stops
the run; radios that are programming are waited for until a second Ctrl-C.
An option given again takes the last value given (--radios: every list counts).
Every path loses one pair of double quotes around it. FILE, the lists, --failed and --log are
known by what is opened (through symbolic links, whose chains are written through) and may not
be one file; nothing is made before every check has passed. The records are written apart from
the terminal, as each radio ends; an interrupt ends the run even while its output is stalled.

Exit status (with several radios, that of the first radio in list order that was not updated;
--plan: 0, or what the run would have ended with before sending anything):
</source>
        <translation>
状態の行は標準出力に、失敗の文は標準エラー出力に出す。進捗は標準エラー出力が端末のときに
そこへ出す。複数の無線機では各行が「ADDRESS: 」で始まり、最後に全無線機の結果の表が出る。
同じ無線機を2度指定すると、何かを送る前に拒否する。Ctrl-Cで実行を止めるが、書き込み中の
無線機は2度目のCtrl-Cまで待つ。
同じオプションを2度指定すると最後の値が使われる（--radiosはすべてのリストが有効）。
どのパスも、囲む二重引用符が1組だけ外される。FILE、リスト、--failed、--logは実際に開く
もの（シンボリックリンクの先。書き込みはリンクの連鎖をたどる）で区別し、同じファイルには
できない。すべての確認が通るまで何も作らない。記録は端末とは別に、無線機が終わるごとに
書く。出力が止まっていても、中断すれば実行は終わる。

終了ステータス（複数の無線機では、リスト順で最初の更新されなかった無線機のもの。--planでは
0、または何かを送る前に実行が終わったはずのステータス）：
</translation>
    </message>
    <message>
        <source>four decimal parts and a prefix, such as 192.168.1.0/24</source>
        <translation>192.168.1.0/24のような10進数4つの部分とプレフィックス</translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>1 radio</source>
        <translation>1 台</translation>
    </message>
    <message>
        <source>%1 radios</source>
        <translation>%1 台</translation>
    </message>
    <message>
        <source>%1: %2 bytes, too short for a firmware image (at least %3)</source>
        <translation>%1: %2 バイトで、ファームウェアイメージとしては短すぎます（%3 バイト以上必要です）。</translation>
    </message>
</context>
<context>
    <name>ExitStatusTable</name>
    <message>
        <source>updated (every radio); --check: the file is usable and every radio answered; --scan: a radio answered</source>
        <translation>更新済み（すべての無線機）。--check：ファイルが使え、すべての無線機が応答した。--scan：無線機が応答した</translation>
    </message>
    <message>
        <source>bad command line (also an address in another form, a bad radio-list line, a name that does not resolve), a radio named twice, or a network larger than /22</source>
        <translation>コマンドラインの誤り（別の形式のアドレス、無線機リストの誤った行、解決できない名前も含む）、無線機の重複指定、または/22より大きいネットワーク</translation>
    </message>
    <message>
        <source>the firmware file cannot be used (missing, unreadable, not a regular file, shorter than one block of 1024 bytes, or 4 GiB or larger)</source>
        <translation>ファームウェアファイルが使えない（存在しない、読めない、通常のファイルでない、1024バイトの1ブロックより短い、または4 GiB以上）</translation>
    </message>
    <message>
        <source>the radio cannot be reached (&quot;Can&apos;t find the Zerlind.&quot;; --check: a radio did not answer; --scan: none did)</source>
        <translation>無線機に到達できない（「Zerlindが見つかりません。」。--check：応答しない無線機があった。--scan：どれも応答しなかった）</translation>
    </message>
    <message>
        <source>the transfer failed (&quot;Data transfer failed.&quot;)</source>
        <translation>転送に失敗した（「ファームウェアの転送に失敗しました。」）</translation>
    </message>
    <message>
        <source>the radio refused the program command (&quot;Illegal firm data.&quot;)</source>
        <translation>無線機が書き込みコマンドを拒否した（「ファームウェアが正しくありません。」）</translation>
    </message>
    <message>
        <source>no reply to the program command in time (&quot;Update failed.&quot;)</source>
        <translation>書き込みコマンドへの応答が時間内になかった（「ファームウェアの更新に失敗しました。」）</translation>
    </message>
    <message>
        <source>the --deadline passed before every radio had started, and none failed</source>
        <translation>すべての無線機が開始する前に--deadlineの期限を過ぎ、失敗した無線機はない</translation>
    </message>
    <message>
        <source>an output could not be written (standard output or standard error: full, or its reader gone; the file of --failed or --log); no radio started after that, and the reason goes to standard error</source>
        <translation>出力を書けなかった（標準出力か標準エラー出力がいっぱいか読み手がいない、または--failedか--logのファイル）。それ以降は無線機を開始せず、理由を標準エラー出力に出す</translation>
    </message>
    <message>
        <source>the system&apos;s network layer could not be started (&quot;Windows sockets initialization failed.&quot;)</source>
        <translation>システムのネットワーク層を開始できなかった（「Windows ｿｹｯﾄの初期化に失敗しました。」）</translation>
    </message>
    <message>
        <source>interrupted: the run ends by the signal, as a shell reports it (130 SIGINT, 143 SIGTERM, 129 SIGHUP; Windows: Ctrl-C, Ctrl-Break or a closed console give 0xC000013A)</source>
        <translation>中断：実行はシグナルで終わり、シェルはそのとおりに報告する（130 SIGINT、143 SIGTERM、129 SIGHUP。Windows：Ctrl-C、Ctrl-Break、コンソールを閉じたときは0xC000013A）</translation>
    </message>
</context>
<context>
    <name>FleetCommand</name>
    <message>
        <source>Try &apos;zerlind-firm-update --help&apos;.</source>
        <translation>詳しくは「zerlind-firm-update --help」を実行してください。</translation>
    </message>
    <message>
        <source>not a radio address: %1 (%2)</source>
        <translation>無線機のアドレスではありません：%1（%2）</translation>
    </message>
    <message>
        <source>%1: may still be programming; do not switch it off</source>
        <translation>%1: まだ書き込み中の可能性があります。電源を切らないでください。</translation>
    </message>
    <message>
        <source>interrupted while looking up radio names</source>
        <translation>無線機の名前の解決中に中断しました。</translation>
    </message>
    <message>
        <source>--scan covers at most a /%1 network</source>
        <translation>--scanで調べられるのは/%1までのネットワークです。</translation>
    </message>
    <message>
        <source>scanned %1 address, found %2 radio</source>
        <translation>アドレス %1 個を調べ、無線機が %2 台見つかりました。</translation>
    </message>
    <message>
        <source>scanned %1 address, found %2 radios</source>
        <translation>アドレス %1 個を調べ、無線機が %2 台見つかりました。</translation>
    </message>
    <message>
        <source>scanned %1 addresses, found %2 radio</source>
        <translation>アドレス %1 個を調べ、無線機が %2 台見つかりました。</translation>
    </message>
    <message>
        <source>scanned %1 addresses, found %2 radios</source>
        <translation>アドレス %1 個を調べ、無線機が %2 台見つかりました。</translation>
    </message>
</context>
<context>
    <name>FleetEvent</name>
    <message>
        <source>%1 updated</source>
        <translation>更新済み %1</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>失敗 %1</translation>
    </message>
    <message>
        <source>%1 not started</source>
        <translation>未実行 %1</translation>
    </message>
    <message>
        <source>%1 interrupted</source>
        <translation>中断 %1</translation>
    </message>
    <message>
        <source>%1 unknown</source>
        <translation>不明 %1</translation>
    </message>
    <message>
        <source>updated</source>
        <comment>state in the table</comment>
        <translation>更新済み</translation>
    </message>
    <message>
        <source>failed</source>
        <comment>state in the table</comment>
        <translation>失敗</translation>
    </message>
    <message>
        <source>not-started</source>
        <comment>state in the table</comment>
        <translation>未実行</translation>
    </message>
    <message>
        <source>interrupted</source>
        <comment>state in the table</comment>
        <translation>中断</translation>
    </message>
    <message>
        <source>unknown</source>
        <comment>state in the table</comment>
        <translation>不明</translation>
    </message>
    <message>
        <source>1 radio is programming; do not switch it off; %1 again to stop waiting</source>
        <translation>無線機 1 台が書き込み中です。電源を切らないでください。もう一度%1で待機を終了します。</translation>
    </message>
    <message>
        <source>%1 radios are programming; do not switch them off; %2 again to stop waiting</source>
        <translation>無線機 %1 台が書き込み中です。電源を切らないでください。もう一度%2で待機を終了します。</translation>
    </message>
</context>
<context>
    <name>FleetOutput</name>
    <message>
        <source>standard output: %1</source>
        <translation>標準出力：%1</translation>
    </message>
    <message>
        <source>standard error: %1</source>
        <translation>標準エラー出力：%1</translation>
    </message>
    <message>
        <source>%1; no further radio starts</source>
        <translation>%1。これ以降、無線機は開始しません。</translation>
    </message>
</context>
<context>
    <name>FleetRun</name>
    <message>
        <source>may still be programming</source>
        <translation>書き込み中の可能性あり</translation>
    </message>
    <message>
        <source>stopped during the transfer</source>
        <translation>転送中に停止</translation>
    </message>
    <message>
        <source>stopped while connecting</source>
        <translation>接続中に停止</translation>
    </message>
    <message>
        <source>deadline %1 passed: no further radio starts</source>
        <translation>期限%1を過ぎました。これ以降、無線機は開始しません。</translation>
    </message>
    <message>
        <source>failure limit: %1 failed, no further radio starts</source>
        <translation>失敗の上限：%1が失敗しました。これ以降、無線機は開始しません。</translation>
    </message>
    <message>
        <source>canary failed: %1 not started</source>
        <translation>カナリアが失敗しました。%1は未実行です。</translation>
    </message>
    <message>
        <source>wave %1 failed: %2 not started</source>
        <translation>ウェーブ %1 が失敗しました。%2は未実行です。</translation>
    </message>
    <message>
        <source>%1; not tried again: the deadline comes first</source>
        <translation>%1（期限が先に来るため再試行なし）</translation>
    </message>
    <message>
        <source>%1: attempt %2 of %3 failed; not tried again: deadline %4</source>
        <translation>%1: 試行 %2/%3 が失敗しました。期限%4のため再試行しません。</translation>
    </message>
    <message>
        <source>%1: attempt %2 of %3 failed; again in %4 s</source>
        <translation>%1: 試行 %2/%3 が失敗しました。%4 秒後に再試行します。</translation>
    </message>
    <message>
        <source>wave %1 of %2 in %3 s</source>
        <translation>ウェーブ %1/%2 は %3 秒後に開始します。</translation>
    </message>
    <message>
        <source>canary updated: the other %1 follow</source>
        <translation>カナリアを更新しました。残りの%1が続きます。</translation>
    </message>
    <message>
        <source>canary ended: the other %1 follow</source>
        <translation>カナリアが終了しました。残りの%1が続きます。</translation>
    </message>
    <message>
        <source>canary: %1 first</source>
        <translation>カナリア：%1を先に更新します。</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1、ほか %2 台</translation>
    </message>
    <message>
        <source>wave %1 of %2: %3 (%4)</source>
        <translation>ウェーブ %1/%2：%3（%4）</translation>
    </message>
    <message>
        <source>wave %1 of %2 ended: %3 updated, %4 failed</source>
        <translation>ウェーブ %1/%2 終了：更新済み %3、失敗 %4</translation>
    </message>
    <message>
        <source>no address for the name in time</source>
        <translation>時間内に名前のアドレスを取得できず</translation>
    </message>
    <message>
        <source>no such name</source>
        <translation>該当する名前なし</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>応答なし</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>not reachable (%1)</source>
        <translation>到達不可（%1）</translation>
    </message>
    <message>
        <source>%1: reachable</source>
        <translation>%1: 到達可能</translation>
    </message>
    <message>
        <source>%1 of %2 radios reachable</source>
        <translation>無線機 %2 台中 %1 台に到達可能</translation>
    </message>
    <message>
        <source>%1 of %2 radios reachable; not reachable: %3</source>
        <translation>無線機 %2 台中 %1 台に到達可能。到達不可：%3</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between radio names</comment>
        <translation>、</translation>
    </message>
</context>
<context>
    <name>ProgressBlock</name>
    <message>
        <source>%1 radios: %2 done, %3 failed</source>
        <translation>無線機 %1 台：完了 %2、失敗 %3</translation>
    </message>
    <message>
        <source>, %1</source>
        <translation>、%1</translation>
    </message>
    <message>
        <source>, wave %1 of %2 in %3 s</source>
        <translation>、ウェーブ %1/%2 まで %3 秒</translation>
    </message>
    <message>
        <source>, %1 left</source>
        <translation>、残り %1</translation>
    </message>
    <message>
        <source>+%1 more</source>
        <translation>ほか %1 台</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>waiting</source>
        <translation>待機</translation>
    </message>
    <message>
        <source>connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>transfer</source>
        <translation>転送</translation>
    </message>
    <message>
        <source>program</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>updated</source>
        <translation>更新済み</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>waiting to retry in %1 s</source>
        <translation>再試行まで %1 秒</translation>
    </message>
    <message>
        <source>%1%  %2  %3 left</source>
        <translation>%1%  %2  残り %3</translation>
    </message>
    <message>
        <source>program %1 s</source>
        <translation>書き込み %1 秒</translation>
    </message>
    <message>
        <source>waited %1 s of %2 s</source>
        <translation>%2 秒中 %1 秒経過</translation>
    </message>
    <message>
        <source>updated %1 s</source>
        <translation>更新済み %1 秒</translation>
    </message>
    <message>
        <source>100%  %1 s</source>
        <translation>100%  %1 秒</translation>
    </message>
    <message>
        <source>connect %1 s</source>
        <translation>接続 %1 秒</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>stalled %1</source>
        <translation>停滞 %1</translation>
    </message>
</context>
<context>
    <name>RadioAddress</name>
    <message>
        <source>not four parts</source>
        <translation>部分が4つでない</translation>
    </message>
    <message>
        <source>empty part</source>
        <translation>空の部分がある</translation>
    </message>
    <message>
        <source>hexadecimal part &apos;%1&apos;</source>
        <translation>16進数の部分&apos;%1&apos;がある</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a decimal number</source>
        <translation>&apos;%1&apos;が10進数でない</translation>
    </message>
    <message>
        <source>leading zero in &apos;%1&apos;</source>
        <translation>&apos;%1&apos;の先頭に0がある</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is over 255</source>
        <translation>&apos;%1&apos;が255を超える</translation>
    </message>
    <message>
        <source>longer than %1 characters</source>
        <translation>%1文字より長い</translation>
    </message>
    <message>
        <source>empty label</source>
        <translation>空のラベルがある</translation>
    </message>
    <message>
        <source>label longer than %1 characters</source>
        <translation>%1文字より長いラベルがある</translation>
    </message>
    <message>
        <source>label &apos;%1&apos; starts or ends with &apos;-&apos;</source>
        <translation>ラベル&apos;%1&apos;が&apos;-&apos;で始まるか終わる</translation>
    </message>
    <message>
        <source>not an address or a host name</source>
        <translation>アドレスでもホスト名でもない</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>空</translation>
    </message>
</context>
<context>
    <name>RadioList</name>
    <message>
        <source>the command line</source>
        <translation>コマンドライン</translation>
    </message>
    <message>
        <source>not [IPV6] or [IPV6]:PORT</source>
        <translation>[IPV6]でも[IPV6]:PORTでもない</translation>
    </message>
    <message>
        <source>bad port %1</source>
        <translation>ポート%1が正しくない</translation>
    </message>
    <message>
        <source>not an IPv6 address</source>
        <translation>IPv6アドレスでない</translation>
    </message>
    <message>
        <source>not an address</source>
        <translation>アドレスでない</translation>
    </message>
    <message>
        <source>%1: the list is neither UTF-8 nor UTF-16 with a byte-order mark</source>
        <translation>%1: リストがUTF-8でもバイトオーダーマーク付きのUTF-16でもありません。</translation>
    </message>
    <message>
        <source>%1:%2: not a radio address: %3 (%4)</source>
        <translation>%1:%2: 無線機のアドレスではありません：%3（%4）</translation>
    </message>
    <message>
        <source>%1:%2: not a radio address: %3</source>
        <translation>%1:%2: 無線機のアドレスではありません：%3</translation>
    </message>
    <message>
        <source>radio listed twice: %1 at %2 and at %3</source>
        <translation>同じ無線機が2度指定されています：%1（%2と%3）</translation>
    </message>
    <message>
        <source>radio listed twice: %1 at %2 and %3 at %4 are both %5 port %6</source>
        <translation>同じ無線機が2度指定されています：%1（%2）と%3（%4）はどちらも%5のポート%6です。</translation>
    </message>
</context>
<context>
    <name>RecordPaths</name>
    <message>
        <source>the firmware file %1</source>
        <translation>ファームウェアファイル %1</translation>
    </message>
    <message>
        <source>the radio list %1</source>
        <translation>無線機リスト %1</translation>
    </message>
    <message>
        <source>%1 %2 given twice</source>
        <translation>%1 %2が2度指定されています。</translation>
    </message>
    <message>
        <source>%1 %2 and %1 %3: one list given twice</source>
        <translation>%1 %2と%1 %3: 同じリストが2度指定されています。</translation>
    </message>
    <message>
        <source>%1 %2: the same file as %3</source>
        <translation>%1 %2: %3と同じファイルです。</translation>
    </message>
    <message>
        <source>%1 %2: not a regular file</source>
        <translation>%1 %2: 通常のファイルではありません。</translation>
    </message>
    <message>
        <source>%1 %2: a symbolic link into a folder that does not exist (%3)</source>
        <translation>%1 %2: 存在しないフォルダーを指すシンボリックリンクです（%3）。</translation>
    </message>
    <message>
        <source>%1 %2: a loop of symbolic links</source>
        <translation>%1 %2: シンボリックリンクがループしています。</translation>
    </message>
</context>
<context>
    <name>RolloutPolicy</name>
    <message>
        <source>interrupted before it started</source>
        <translation>開始前に中断</translation>
    </message>
    <message>
        <source>output closed</source>
        <translation>出力が閉じられたため見送り</translation>
    </message>
    <message>
        <source>deadline</source>
        <translation>期限</translation>
    </message>
    <message>
        <source>canary failed</source>
        <translation>カナリアが失敗</translation>
    </message>
    <message>
        <source>wave %1 failed</source>
        <translation>ウェーブ %1 が失敗</translation>
    </message>
    <message>
        <source>failure limit</source>
        <translation>失敗の上限</translation>
    </message>
    <message>
        <source>the canary goes first; if any of it fails, no other radio starts, whatever the failure limit</source>
        <translation>カナリアを先に更新します。その中の 1 台でも失敗すると、失敗の上限にかかわらず、ほかの無線機は開始しません。</translation>
    </message>
    <message>
        <source>a wave in which a radio fails is the last</source>
        <translation>無線機が失敗したウェーブが最後のウェーブになります。</translation>
    </message>
    <message>
        <source>no radio starts once %1 failed</source>
        <translation>%1が失敗した時点で、これ以降の無線機は開始しません。</translation>
    </message>
    <message>
        <source>a radio that fails before the program command is tried up to %1 more times</source>
        <translation>書き込みコマンドの前に失敗した無線機は、さらに最大 %1 回再試行します。</translation>
    </message>
    <message>
        <source>no radio starts after the deadline; a wave pause or a wait to try again ends at it</source>
        <translation>期限を過ぎると無線機は開始しません。ウェーブ間の休止と再試行までの待機は期限で終わります。</translation>
    </message>
</context>
<context>
    <name>RunPlan</name>
    <message>
        <source>not a radio address: %1 (%2)</source>
        <translation>無線機のアドレスではありません：%1（%2）</translation>
    </message>
    <message>
        <source>ADDRESS %1 of the command line</source>
        <translation>コマンドラインの%1番目のADDRESS</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>%1 holds no radio: an earlier run left nothing to do there; give the other radios without it</source>
        <translation>%1に無線機がありません。前回の実行で残った作業はありません。ほかの無線機はこのリストなしで指定してください。</translation>
    </message>
    <message>
        <source>nothing left to do: %1 holds no radio</source>
        <translation>残っている作業はありません（%1に無線機がありません）。</translation>
    </message>
    <message>
        <source>no radio: the list is empty and no ADDRESS was given</source>
        <translation>無線機がありません。リストが空で、ADDRESSも指定されていません。</translation>
    </message>
    <message>
        <source>--canary %1 is not fewer than the %2 of the run: nothing would wait for it</source>
        <translation>--canary %1が実行する無線機の数（%2）より少なくありません。カナリアの後に待つ無線機がありません。</translation>
    </message>
    <message>
        <source>--deadline %1 has passed</source>
        <translation>--deadline %1はすでに過ぎています。</translation>
    </message>
    <message>
        <source>--deadline %1 is more than a week away</source>
        <translation>--deadline %1は1週間より先です。</translation>
    </message>
    <message>
        <source>resolving %1 name</source>
        <translation>名前 %1 個を解決しています</translation>
    </message>
    <message>
        <source>resolving %1 names</source>
        <translation>名前 %1 個を解決しています</translation>
    </message>
    <message>
        <source>%1: no address for the name within %2 ms</source>
        <translation>%1: %2 ms以内に名前のアドレスが得られませんでした。</translation>
    </message>
    <message>
        <source>%1: no such radio name (it does not resolve)</source>
        <translation>%1: その名前の無線機はありません（名前を解決できません）。</translation>
    </message>
    <message>
        <source>--max-failures can stop no radio here: with --jobs %1 every radio has started before %2 can have failed, and a radio already running is never stopped</source>
        <translation>ここでは--max-failuresはどの無線機も止められません。--jobs %1では%2が失敗する前にすべての無線機が開始し、実行中の無線機は止めないためです。</translation>
    </message>
    <message>
        <source>%1: %2 bytes, %3 blocks, SHA-256 %4</source>
        <translation>%1: %2 バイト、%3 ブロック、SHA-256 %4</translation>
    </message>
    <message>
        <source>%1, up to %2 at once; failure limit %3; retries %4; pause between waves %5 s; deadline %6
</source>
        <translation>無線機 %1、同時に最大 %2 台、失敗の上限：%3、再試行：%4 回、ウェーブ間の休止：%5 秒、期限：%6
</translation>
    </message>
    <message>
        <source>rule: %1</source>
        <translation>規則：%1</translation>
    </message>
    <message>
        <source>wave %1 of %2: %3
</source>
        <translation>ウェーブ %1/%2：%3
</translation>
    </message>
    <message>
        <source>  %1  %2  port %3
</source>
        <translation>  %1  %2  ポート %3
</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>注意：%1</translation>
    </message>
    <message>
        <source>writes: %1
</source>
        <translation>書き込むファイル：%1
</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the files a run writes</comment>
        <translation>、</translation>
    </message>
</context>
<context>
    <name>RunRecords</name>
    <message>
        <source># not updated by zerlind-firm-update %1 on %2 with %3 (SHA-256 %4)</source>
        <translation># 更新されなかった無線機：zerlind-firm-update %1、%2、%3（SHA-256 %4）</translation>
    </message>
    <message>
        <source># not reachable by zerlind-firm-update %1 on %2 with %3 (SHA-256 %4)</source>
        <translation># 到達できなかった無線機：zerlind-firm-update %1、%2、%3（SHA-256 %4）</translation>
    </message>
    <message>
        <source>%1: cannot create the folder %2</source>
        <translation>%1: フォルダー「%2」を作成できません。</translation>
    </message>
    <message>
        <source>%1: Permission denied</source>
        <translation>%1: 許可がありません。</translation>
    </message>
    <message>
        <source>%1; no further radio starts</source>
        <translation>%1。これ以降、無線機は開始しません。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>StandardOutput</name>
    <message>
        <source>write error</source>
        <translation>書き込みエラー</translation>
    </message>
    <message>
        <source>standard output: %1</source>
        <translation>標準出力：%1</translation>
    </message>
</context>
<context>
    <name>SystemErrorText</name>
    <message>
        <source>error %1</source>
        <translation>エラー %1</translation>
    </message>
</context>
<context>
    <name>TextRenderer</name>
    <message>
        <source>radio</source>
        <translation>無線機</translation>
    </message>
    <message>
        <source>state</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>(%1 attempts)</source>
        <translation>（%1 回試行）</translation>
    </message>
    <message>
        <source>1 radio: %1</source>
        <translation>無線機 1 台：%1</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 radios: %2</source>
        <translation>無線機 %1 台：%2</translation>
    </message>
</context>
</TS>
