(* start when both inputs are on *)
LD	1.0
AND	1.1
OUT	2.0

(* stop lamp *)
LDN	1.2
ANDN	1.3
OUTN	2.1

LD	1.4
OUT	2.2
OUT	2.3

END
