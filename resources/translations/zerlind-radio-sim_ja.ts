<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CRadioServer</name>
    <message>
        <source>The bound address is already in use</source>
        <translation>指定したアドレスはすでに使われています</translation>
    </message>
    <message>
        <source>The address is not available</source>
        <translation>そのアドレスは使用できません</translation>
    </message>
    <message>
        <source>The address is protected</source>
        <translation>そのアドレスは保護されています</translation>
    </message>
</context>
<context>
    <name>CRadioSession</name>
    <message>
        <source>cannot save the image to %1</source>
        <translation>イメージを%1に保存できません</translation>
    </message>
</context>
<context>
    <name>RadioSimMain</name>
    <message>
        <source>Try &apos;zerlind-radio-sim --help&apos;.</source>
        <translation>詳しくは「zerlind-radio-sim --help」を実行してください。</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>%1で待ち受けできません：%2</translation>
    </message>
</context>
<context>
    <name>SimOptions</name>
    <message>
        <source>unexpected argument: %1</source>
        <translation>余分な引数です：%1</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1には値が必要です。</translation>
    </message>
    <message>
        <source>--%1 takes no value</source>
        <translation>--%1には値を指定できません。</translation>
    </message>
    <message>
        <source>unknown option: --%1</source>
        <translation>不明なオプションです：--%1</translation>
    </message>
    <message>
        <source>bad value for --%1: %2</source>
        <translation>--%1の値が正しくありません：%2</translation>
    </message>
    <message>
        <source>a radio&apos;s address (default: one radio on 127.0.0.1); repeat it for
more radios, or give a range of IPv4 addresses: FIRST-LAST[:PORT],
such as 127.0.0.10-127.0.0.17 (at most 1024 radios)</source>
        <translation>無線機のアドレス（既定値：127.0.0.1の無線機 1 台）。繰り返すと無線機が
増え、IPv4アドレスの範囲FIRST-LAST[:PORT]も指定できる
（例：127.0.0.10-127.0.0.17、最大 1024 台）</translation>
    </message>
    <message>
        <source>TCP port of radios given without one (default 1111)</source>
        <translation>ポートを指定しない無線機のTCPポート（既定値：1111）</translation>
    </message>
    <message>
        <source>each radio serves N sessions; once all have, exit with status 0
(default 0: until stopped)</source>
        <translation>各無線機がN回のセッションを受け持ち、すべて終えたら終了ステータス0で
終了（既定値：0、止められるまで続ける）</translation>
    </message>
    <message>
        <source>time a radio takes to program before it answers (default 0)</source>
        <translation>無線機が応答する前に書き込みにかける時間（既定値：0）</translation>
    </message>
    <message>
        <source>write the received image to FILE when the program command arrives;
&quot;%a&quot; in FILE stands for the radio&apos;s address</source>
        <translation>programコマンドが届いたら、受け取ったイメージをFILEに書き込む
（FILE中の「%a」は無線機のアドレスになる）</translation>
    </message>
    <message>
        <source>the N-th request of the session (1 is &quot;begin&quot;; a resend after a busy answer keeps
the number of the request it repeats)</source>
        <translation>セッションのN番目の要求（1は「begin」。ビジー応答の後の再送は、繰り返す
元の要求の番号のまま）</translation>
    </message>
    <message>
        <source>the begin command</source>
        <translation>beginコマンド</translation>
    </message>
    <message>
        <source>the program command</source>
        <translation>programコマンド</translation>
    </message>
    <message>
        <source>every data request</source>
        <translation>すべてのデータ要求</translation>
    </message>
    <message>
        <source>the K-th data request (data:1 = first block)</source>
        <translation>K番目のデータ要求（data:1が最初のブロック）</translation>
    </message>
    <message>
        <source>every request</source>
        <translation>すべての要求</translation>
    </message>
    <message>
        <source>answer busy (&quot;@&quot;) COUNT times to the request, then as usual</source>
        <translation>要求にビジー（「@」）をCOUNT回返し、その後は通常どおり応答</translation>
    </message>
    <message>
        <source>answer with STATUS instead of accepting (a number such as 0x00 or 69,
or one character; default &quot;E&quot;, 0x45). The session goes on.</source>
        <translation>受理する代わりにSTATUSで応答し、セッションは続ける（STATUSは0x00や69
などの数値か1文字、既定値は「E」（0x45））</translation>
    </message>
    <message>
        <source>never answer the request; the connection stays open</source>
        <translation>要求に応答しない（接続は開いたまま）</translation>
    </message>
    <message>
        <source>the same as --silent program</source>
        <translation>--silent programと同じ</translation>
    </message>
    <message>
        <source>close the connection instead of answering</source>
        <translation>応答する代わりに接続を閉じる</translation>
    </message>
    <message>
        <source>the faults apply to each radio&apos;s first N sessions only; later
sessions go well (default: every session)</source>
        <translation>障害を各無線機の最初のN回のセッションだけに適用（以降のセッションは
正常、既定値：すべてのセッション）</translation>
    </message>
    <message>
        <source>the echo after the first data block differs from image bytes 4 to 7</source>
        <translation>最初のデータブロックの後のエコーを、イメージの4～7バイト目と
違うものにする</translation>
    </message>
    <message>
        <source>accept with &quot;!&quot; instead of &quot; &quot;</source>
        <translation>「 」の代わりに「!」で受理</translation>
    </message>
    <message>
        <source>send the answer one byte per TCP segment, 2 ms apart</source>
        <translation>応答を1バイトずつ別のTCPセグメントで、2 ms間隔で送る</translation>
    </message>
    <message>
        <source>wait MS milliseconds before answering</source>
        <translation>応答する前にMSミリ秒待つ</translation>
    </message>
    <message>
        <source>show this text and exit</source>
        <translation>このヘルプを表示して終了</translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation>バージョンを表示して終了</translation>
    </message>
    <message>
        <source>Usage: zerlind-radio-sim [OPTION]...
Plays the Zerlind radio&apos;s firmware update service on TCP, with faults on demand; one process
serves one radio or many.

</source>
        <translation>使い方：zerlind-radio-sim [OPTION]...
Zerlind無線機のファームウェア更新サービスをTCP上で再現し、指定に応じて障害も起こします。
1つのプロセスで無線機 1 台または複数台を受け持ちます。

</translation>
    </message>
    <message>
        <source>Each radio listens on its own address and port, takes each request as 8 header bytes (0x10, the
command, the payload length little-endian, four zero bytes) plus the payload, and answers it with
two bytes: 0x10 and the status &quot; &quot; (accepted). After the first data block it adds image bytes 4
to 7 as an echo. It keeps the image (the data payloads after &quot;begin&quot;, in order) and answers the
program command after --program-delay. Once every radio listens it prints one line per radio,
&quot;%1&quot;. When a session ends it prints one line:
  %2
where N counts the radio&apos;s sessions, requests counts every request received (resends included),
busy the busy answers, bytes and sha256 describe the image received, WHAT is one of programmed,
refused, closed-by-fault, client-closed, protocol-error, radio is the radio that served it, and
P is the most sessions of all radios in progress at once so far (a session is in progress from
its first request until the answer to the program command has gone or the connection ends).

</source>
        <translation>各無線機はそれぞれのアドレスとポートで待ち受け、要求を8バイトのヘッダー（0x10、コマンド、
リトルエンディアンのペイロード長、ゼロ4バイト）とペイロードとして受け取り、2バイト（0x10と
状態「 」（受理））で応答します。最初のデータブロックの後は、イメージの4～7バイト目をエコー
として付け加えます。イメージ（「begin」の後のデータのペイロードを順につないだもの）を保持し、
programコマンドには--program-delayの時間の後に応答します。すべての無線機が待ち受けを始めると、
無線機ごとに1行「%1」を出力します。セッションが終わるたびに、
次の1行を出力します：
  %2
sessionはその無線機のセッションの通し番号N、requestsは受け取った要求の数（再送を含む）、
busyはビジー応答の数、bytesとsha256は受け取ったイメージの大きさとハッシュ、outcomeの
WHATはprogrammed、refused、closed-by-fault、client-closed、protocol-errorのいずれか、radioは
そのセッションを受け持った無線機、peakのPはこれまでに全無線機で同時に進行していたセッション数
の最大値です（セッションは最初の要求から、programコマンドへの応答を送り終えるか接続が終わる
まで進行中とみなします）。

</translation>
    </message>
    <message>
        <source>Where to listen:
</source>
        <translation>待ち受ける場所：
</translation>
    </message>
    <message>
        <source>How the radios behave:
</source>
        <translation>無線機のふるまい：
</translation>
    </message>
    <message>
        <source>Faults. AT picks the requests a fault applies to:
</source>
        <translation>障害（ATで、障害を起こす要求を選びます）：
</translation>
    </message>
    <message>
        <source>A fault applies to every radio unless its value starts with one radio&apos;s address and a slash,
as in --refuse 127.0.0.12/program. Each fault option may be given more than once; the first that
matches a request applies.
</source>
        <translation>障害は、値が無線機のアドレスとスラッシュで始まらない限り（--refuse 127.0.0.12/programなど）、
すべての無線機に適用されます。障害のオプションはどれも複数回指定でき、要求に合う最初のものが
適用されます。
</translation>
    </message>
    <message>
        <source>Requests that break the format (wrong marker, length over 1024, unknown command) end the session
with outcome protocol-error. Examples:
</source>
        <translation>形式に反する要求（マーカーの誤り、1024を超える長さ、未知のコマンド）は、outcome=protocol-errorで
セッションを終えます。例：
</translation>
    </message>
</context>
</TS>
